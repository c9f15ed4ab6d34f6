#!/usr/bin/env bash
# Starts the real pivex on two files, appends lines with a writer, selects everything in the
# view, copies it through 編集(&E) → コピー(&C) and compares the clipboard with what was written.
set -euo pipefail
binary=$(realpath "$1")
source "$(dirname "$0")/lib.bash"
in_x_server "$0" "$binary"

export XDG_CONFIG_HOME=$work/config
mkdir -p "$work/logs dir"
a="$work/logs dir/a.log" b=$work/b.log
append_sjis "$a" "既存の行は表示されない"
: >"$b"

"$binary" '/w="E2E"' "$a" "$b" &
pid=$!
win=$(wait_window '^E2E \[') || fail "the main window did not appear"
title=$(xdotool getwindowname "$win")
[ "$title" = "E2E [a.log,b.log] - Pivex" ] || fail "title was '$title'"

append_sjis "$a" "一行目 ERROR 発生"
append_sjis "$b" "二行目 <b>太字</b> {\\rtf1}"
sleep 1.5 # more than one polling interval
append_sjis "$a" "三行目 ｶﾀｶﾅ"
sleep 1.5

# Select all in the view and copy through the menu's access keys.
xdotool windowfocus --sync "$win"
xdotool mousemove --window "$win" 100 100 click 1
xdotool key --window "$win" ctrl+a
xdotool key --window "$win" alt+e
sleep 0.3
xdotool key c
sleep 0.5
copied=$(xclip -o -selection clipboard)
expected=$'一行目 ERROR 発生\n二行目 <b>太字</b> {\\rtf1}\n三行目 ｶﾀｶﾅ'
[ "$copied" = "$expected" ] || fail "clipboard held '$copied'"

kill "$pid"
wait "$pid" 2>/dev/null || true
echo "e2e copy_and_title: 1 passed, 0 failed"
