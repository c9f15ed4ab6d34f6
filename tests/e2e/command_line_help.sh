#!/usr/bin/env bash
# pivex --help and --version answer on standard output and exit 0 without any display (Qt is
# never started: with no X server to reach, it would abort); every option the usage lists is
# in the manual page too; an answer that cannot be written is a failure.
set -euo pipefail
binary=$(realpath "$1")
manual=$(dirname "$0")/../../resources/pivex.1
source "$(dirname "$0")/lib.bash"
run() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$binary" "$@"; }

usage=$(run --help) || fail "--help exited $?"
[ -z "$(run --help 2>&1 >/dev/null)" ] || fail "--help wrote to standard error"
grep -q '^使い方: pivex \[オプション\] \[ファイル\]\.\.\.$' <<<"$usage" || fail "no usage line"
for option in /v /g '/k=' '/w=' '/i=' /c=sjis /c=euc /c=utf8 /c=auto --help --version; do
    grep -qF -- "  $option" <<<"$usage" || fail "--help does not list $option"
    grep -qF -- "$(sed 's/-/\\-/g' <<<"$option")" "$manual" || fail "the manual page lacks $option"
done

version=$(run /v --version a.log) || fail "--version exited $?"
[[ "$version" =~ ^Pivex\ [0-9]+(\.[0-9]+)+$ ]] || fail "--version printed '$version'"

status=0
run --help >/dev/full 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "a failed write gave status $status"
echo "e2e command_line_help: 4 passed, 0 failed"
