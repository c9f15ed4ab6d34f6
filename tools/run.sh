#!/usr/bin/env bash
# Starts Pivex for `make run`. With no FILES it watches a live demo log that a small writer
# keeps appending Japanese Shift_JIS lines to, shown from its first line (/v).
set -euo pipefail
binary=$1 files=${2:-} args=${3:-}
if [ -n "$files" ]; then
    # ARGS are Pivex's own options, taken word by word as written, so the double quotes of
    # /w="title" and /k="keyword" reach Pivex; FILES is a shell word list, so a name with
    # blanks can be quoted.
    read -r -a options <<<"$args"
    eval "set -- $files"
    exec "$binary" "${options[@]}" "$@"
fi
demo=$(mktemp -d)
trap 'kill "$writer" 2>/dev/null; rm -rf "$demo"' EXIT
log=$demo/demo.log
printf '%s\r\n' "$(date '+%Y-%m-%d %H:%M:%S') [INFO] デモログを開始しました" | iconv -f UTF-8 -t CP932 >"$log"
"$(dirname "$0")/demo_writer.sh" "$log" &
writer=$!
"$binary" '/w="Pivexデモ"' /v "$log"
