# Helpers for end-to-end scripts: each runs inside its own X server (xvfb-run) and drives the
# real binary with xdotool, reading results through window titles and the clipboard.

# Runs the calling script again inside its own X server, once; call first thing with "$0" and
# the binary's path.
in_x_server() {
    if [ -z "${PIVEX_E2E_INNER:-}" ]; then
        PIVEX_E2E_INNER=1 exec xvfb-run -a -s '-screen 0 1280x1024x24' bash "$1" "$2"
    fi
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits until a window whose name matches the pattern exists; prints its id.
wait_window() {
    local pattern=$1 id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Appends a line, given in UTF-8, to a log file in Shift_JIS with CR LF.
append_sjis() {
    printf '%s\r\n' "$2" | iconv -f UTF-8 -t CP932 >>"$1"
}

# Selects everything in the view of the given window, copies it through the menu's access keys
# (編集(&E) → コピー(&C)) and prints what the clipboard then holds.
copy_view_text() {
    local win=$1
    xdotool windowfocus --sync "$win"
    xdotool mousemove --window "$win" 100 100 click 1
    xdotool key --window "$win" ctrl+a
    xdotool key --window "$win" alt+e
    sleep 0.3
    xdotool key c
    sleep 0.5
    xclip -o -selection clipboard
}
