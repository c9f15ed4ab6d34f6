#!/usr/bin/env bash
# Builds the Debian package from the build tree as `make package` does, then checks it the way
# a distribution would: its name, the desktop entry (desktop-file-validate), the AppStream
# metadata (appstreamcli validate), the whole package (lintian: no errors), and that the
# program unpacked from it (dpkg-deb -x) answers --version and --help without a display.
#   check_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$(realpath "$1") version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack did not build the package"; }
deb=$work/out/pivex_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/out")"

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/pivex.desktop" \
    || fail "desktop-file-validate"
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.metainfo.xml \
    || fail "appstreamcli validate"
lintian --fail-on error "$deb" 2>/dev/null || fail "lintian reports errors"

unpacked=$work/root/usr/bin/pivex
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$unpacked" --version) \
    || fail "the unpacked pivex --version failed"
[ "$answer" = "Pivex $version" ] || fail "--version printed '$answer'"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$unpacked" --help | grep -q '^使い方: pivex' \
    || fail "the unpacked pivex --help"
echo "package: 6 passed, 0 failed"
