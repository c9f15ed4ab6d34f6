#!/usr/bin/env bash
# Starts the real pivex on three files whose names the desktop's text cannot hold as they are:
# a Shift_JIS name, one with blanks and double quotes, and one Qt would take for its option.
# All three are watched: the title shows them (U+FFFD for bytes that are not UTF-8), the
# window is laid out left to right, and lines appended to each reach the view.
set -euo pipefail
binary=$(realpath "$1")
source "$(dirname "$0")/lib.bash"
in_x_server "$0" "$binary"

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
sjis=$work/$'\x83\x8d\x83\x4f.log' quoted="$work/my \"odd\" log.txt" option=$work/-reverse
: >"$sjis"
: >"$quoted"
: >"$option"

cd "$work"
"$binary" '/w="E2E bytes"' "$sjis" "$quoted" -reverse &
pid=$!
win=$(wait_window '^E2E bytes \[') || fail "the main window did not appear"
title=$(xdotool getwindowname "$win")
[ "$title" = 'E2E bytes [���O.log,my "odd" log.txt,-reverse] - Pivex' ] || fail "title was '$title'"

append_sjis "$sjis" "一行目"
append_sjis "$quoted" "二行目"
append_sjis "$option" "三行目"
sleep 2.5

copied=$(copy_view_text "$win")
expected=$'一行目\n二行目\n三行目'
[ "$copied" = "$expected" ] || fail "clipboard held '$copied'"

kill "$pid"
wait "$pid" 2>/dev/null || true
echo "e2e byte_file_names: 1 passed, 0 failed"
