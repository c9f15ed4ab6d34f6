#!/usr/bin/env bash
# Starts the real pivex with an invalid option, a missing file and an unreadable one: one
# message each, answered with Enter, the same said on standard error with the file's name,
# and the program ends with a non-zero status without ever showing its main window.
set -euo pipefail
binary=$(realpath "$1")
source "$(dirname "$0")/lib.bash"
in_x_server "$0" "$binary"

export XDG_CONFIG_HOME=$work/config

mkfifo "$work/pipe"
check_start_failure() {
    local expected=$1
    shift
    "$binary" "$@" 2>"$work/stderr" &
    local pid=$!
    local box
    box=$(wait_window '^Pivex$') || fail "no message box for $*"
    xdotool windowfocus --sync "$box"
    xdotool key Return
    local status=0
    wait "$pid" || status=$?
    [ "$status" -ne 0 ] || fail "exit status was 0 for $*"
    grep -qxF "$expected" "$work/stderr" || fail "standard error for $*: $(cat "$work/stderr")"
}
check_start_failure "pivex: 引数の指定が不正です (pivex --help で使い方を表示します)" /x
check_start_failure "pivex: ファイルが存在しません: $work/missing.log" "$work/missing.log"
check_start_failure "pivex: ファイルの読み込みでエラーが発生しました: $work/pipe" "$work/pipe"

# A normal close ends with status 0.
"$binary" &
pid=$!
win=$(wait_window '^Pivex \[') || fail "the main window did not appear"
xdotool windowfocus --sync "$win"
xdotool key alt+f
sleep 0.3
xdotool key x
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status after 終了 was $status"
echo "e2e invalid_arguments: 4 passed, 0 failed"
