#!/usr/bin/env bash
# Starts the real pivex with an invalid option: one message, answered with Enter, and the
# program ends with a non-zero status without ever showing its main window.
set -euo pipefail
binary=$(realpath "$1")
source "$(dirname "$0")/lib.bash"
in_x_server "$0" "$binary"

export XDG_CONFIG_HOME=$work/config

"$binary" /x &
pid=$!
box=$(wait_window '^Pivex$') || fail "no message box"
xdotool windowfocus --sync "$box"
xdotool key Return
status=0
wait "$pid" || status=$?
[ "$status" -ne 0 ] || fail "exit status was 0"

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
echo "e2e invalid_arguments: 2 passed, 0 failed"
