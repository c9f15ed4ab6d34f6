# Helpers for end-to-end scripts: each runs inside its own X server (xvfb-run) and drives the
# real binary with xdotool, reading results through window titles and the clipboard.

# Runs the calling script again inside its own X server, once; call first thing with "$0" and
# the binary's path. Inside, it gives the script a scratch folder, $work.
in_x_server() {
    if [ -z "${PIVEX_E2E_INNER:-}" ]; then
        # xvfb-run -a takes the first display number without a lock file; runs that start at
        # the same moment (other checkouts, other tools) can race for it and one of them ends
        # up talking to the other's server. A random first number makes that rare. Without
        # -noreset the server resets whenever its last client leaves, and a program connecting
        # in that moment (the next start after xdotool's last call) is turned away.
        PIVEX_E2E_INNER=1 exec xvfb-run -a -n $((100 + RANDOM % 800)) \
            -s '-screen 0 1280x1024x24 -noreset' bash "$1" "$2"
    fi
    # ... and when it happens all the same, the script says so instead of waiting for windows.
    for _ in $(seq 50); do
        xwininfo -root >/dev/null 2>&1 && break
        sleep 0.1
    done
    xwininfo -root >/dev/null 2>&1 || fail "the X server $DISPLAY cannot be reached"
    # The program shows its windows on this X server whatever the caller's environment says:
    # an inherited QT_QPA_PLATFORM=offscreen would give it windows nobody can see or answer.
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY
    work=$(mktemp -d)
    # Every program the script started goes with it: a failed check must not leave a window or
    # a modal box behind that holds the test's output open until ctest gives up.
    trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits up to ten seconds for a visible window whose name matches the pattern; prints its id.
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
