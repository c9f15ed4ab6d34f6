#!/usr/bin/env bash
# Pictures of the real program in its own X server (Xvfb). By default it makes
# docs/screenshot.png: the main window with Japanese lines in the view and the 設定 menu open.
# With --all DIR it also takes every dialog, one picture each, for checking layouts by eye.
#
#   tools/screenshot.sh BINARY [--all DIR]
#
# Environment:
#   PIVEX_SCALE=2      Qt's scale factor (QT_SCALE_FACTOR), as on a high-density screen
#   PIVEX_FONT_PT=14   the desktop's font size, set through the GTK platform theme
#   PIVEX_WM=none      no window manager (default: openbox, which draws title bars)
set -euo pipefail
binary=$(realpath "$1")
shift
all_dir=
if [ "${1:-}" = --all ]; then
    all_dir=$(realpath -m "$2")
fi
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${PIVEX_SCREENSHOT_INNER:-}" ]; then
    PIVEX_SCREENSHOT_INNER=1 exec xvfb-run -a -n $((100 + RANDOM % 800)) -s '-screen 0 1280x960x24 -noreset' \
        bash "$0" "$binary" ${all_dir:+--all "$all_dir"}
fi

work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME"
[ -z "${PIVEX_SCALE:-}" ] || export QT_SCALE_FACTOR=$PIVEX_SCALE
if [ -n "${PIVEX_FONT_PT:-}" ]; then
    mkdir -p "$XDG_CONFIG_HOME/gtk-3.0"
    printf '[Settings]\ngtk-font-name=Noto Sans CJK JP %s\n' "$PIVEX_FONT_PT" \
        >"$XDG_CONFIG_HOME/gtk-3.0/settings.ini"
    export QT_QPA_PLATFORMTHEME=gtk3
fi
if [ "${PIVEX_WM:-openbox}" = openbox ]; then
    openbox --sm-disable &
    pids+=($!)
    sleep 1
fi

# wait_window and fail, shared with the end-to-end scripts.
source "$root/tests/e2e/lib.bash"
# Waits for the window or gives up with a message.
window() {
    wait_window "$1" || fail "no window named '$1' came"
}

# The screen's area of a window, its frame included when a window manager draws one.
frame_of() {
    local id=$1 frame
    frame=$(xwininfo -id "$id" -tree | awk '/Parent window id:/ {print $4}')
    while [ -n "$frame" ] && [ "$frame" != "$(xwininfo -root | awk '/Window id:/ {print $4}')" ]; do
        id=$frame
        frame=$(xwininfo -id "$id" -tree | awk '/Parent window id:/ {print $4}')
    done
    xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {printf "%dx%d+%d+%d", w, h, x, y}'
}

# Saves the screen's area around a window (its menus included) as a PNG.
shoot() {
    local id=$1 out=$2 extra=${3:-0} geometry w h x y
    geometry=$(frame_of "$id")
    IFS='x+' read -r w h x y <<<"$geometry"
    import -window root -crop "$((w + extra))x$((h + extra))+$x+$y" +repage "$out"
    echo "wrote $out"
}

log=$work/app.log
{
    echo "2026-12-07 09:00:00.112 [INFO ] 受注バッチを開始しました（ジョブID=20261207-01）"
    echo "2026-12-07 09:00:00.348 [INFO ] 設定ファイル /etc/app/order.conf を読み込みました"
    echo "2026-12-07 09:00:01.020 [INFO ] 顧客マスタ 12,480 件を読み込みました"
    echo "2026-12-07 09:00:02.771 [WARN ] 郵便番号が未登録です：顧客コード C-004217（東京都港区）"
    echo "2026-12-07 09:00:03.105 [INFO ] 受注データ 3,912 件の取り込みを開始します"
    echo "2026-12-07 09:00:05.642 [ERROR] 在庫引当に失敗しました：商品コード ﾃｽﾄ-A100 在庫不足"
    echo "2026-12-07 09:00:05.643 [INFO ] 再試行します（1/3）"
    echo "2026-12-07 09:00:06.910 [INFO ] 在庫引当が完了しました：商品コード ﾃｽﾄ-A100"
    echo "2026-12-07 09:00:08.257 [INFO ] 出荷指示書を作成しました：大阪第二倉庫 418 件"
    echo "2026-12-07 09:00:09.533 [INFO ] 受注バッチが正常に終了しました（処理時間 9.4 秒）"
} | sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$log"

# A second log, so that the gutter tells the two apart, and the ready-made highlight rules.
web=$work/web.log
{
    echo "2026-12-07 09:00:10.004 [INFO ] 受注画面 GET /orders 200 12ms"
    echo "2026-12-07 09:00:10.388 [WARN ] 受注画面 応答が遅延しています：/orders/search 1,204ms"
    echo "2026-12-07 09:00:11.120 [INFO ] 受注画面 POST /orders 201 48ms"
} | sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$web"
cat >"$XDG_CONFIG_HOME/pivex.ini" <<'INI'
[Highlight]
Count=2
Rule1=line,case,#9c0006,#ffc7ce,ERROR
Rule2=line,case,#7f6000,#ffeb9c,WARN
INI

"$binary" '/w="受注バッチ"' /v "$log" "$web" &
pids+=($!)
win=$(window '^受注バッチ \[')
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
xdotool windowsize --sync "$win" 900 420
sleep 0.5

out=$root/docs/screenshot.png
[ -z "$all_dir" ] || { mkdir -p "$all_dir"; out=$all_dir/main-menu.png; }
xdotool key --window "$win" alt+s
sleep 0.7
shoot "$win" "$out"
xdotool key Escape
sleep 0.3
[ -n "$all_dir" ] || exit 0

shoot "$win" "$all_dir/main.png"
for menu in f e h; do
    xdotool key --window "$win" "alt+$menu"
    sleep 0.7
    shoot "$win" "$all_dir/menu-$menu.png"
    xdotool key Escape
    sleep 0.3
done
# Each dialog through its menu keys; every one is closed again before the next.
take_dialog() {
    local keys=$1 title=$2 name=$3 close=$4 id
    xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
    # shellcheck disable=SC2086
    xdotool key --delay 300 $keys
    id=$(window "^$title\$")
    sleep 0.5
    shoot "$id" "$all_dir/$name.png"
    xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
    xdotool key "$close"
    sleep 0.3
}
take_dialog "alt+f c" 監視ファイル指定 file-list Return # no cancel: OK hides it
# The file-open dialog, through 追加 of the file list (Tab leads from the list to 追加).
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
xdotool key --delay 300 alt+f c
list=$(window '^監視ファイル指定$')
xdotool key --delay 300 Tab space
open=$(window '^監視するファイルの指定$')
sleep 0.5
shoot "$open" "$all_dir/file-open.png"
xdotool windowactivate --sync "$open" 2>/dev/null || xdotool windowfocus --sync "$open"
xdotool key Escape
sleep 0.3
# The focus is back on 追加, where Enter would open it again: on to OK instead.
xdotool windowactivate --sync "$list" 2>/dev/null || xdotool windowfocus --sync "$list"
xdotool key --delay 200 Tab Tab space
sleep 0.3
take_dialog "ctrl+f" 検索 search Escape
take_dialog "alt+s o" オプション options Escape
take_dialog "alt+s k" grep文字列指定 keyword Escape
take_dialog "alt+h a" Pivexについて about Escape

# A message box, for its title bar's icon: grep mode without a keyword refuses with one.
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
xdotool key --delay 300 alt+s g
box=$(window '^Pivex$')
sleep 0.5
shoot "$box" "$all_dir/message.png"
xdotool windowactivate --sync "$box" 2>/dev/null || xdotool windowfocus --sync "$box"
xdotool key Return
