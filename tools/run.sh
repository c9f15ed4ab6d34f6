#!/usr/bin/env bash
# Starts Pivex for `make run`. With no FILES it watches a live demo log that a small writer
# keeps appending Japanese Shift_JIS lines to.
set -euo pipefail
binary=$1 files=${2:-} args=${3:-}
if [ -n "$files" ]; then
    # shellcheck disable=SC2086  # FILES and ARGS are word lists on purpose
    eval exec "\"$binary\"" $args $files
fi
exec "$binary"
