#!/usr/bin/env bash
# Appends Japanese Shift_JIS log lines to a file, a few a second, some of them errors, until
# it is stopped. Used by `make run` to give Pivex something live to watch.
set -u
log=$1
messages=(
    "[INFO] ユーザー田中がログインしました"
    "[INFO] 受注データを取り込みました (123件)"
    "[WARN] 応答が遅くなっています: 1200ms"
    "[INFO] バックアップを開始します"
    "[ERROR] データベースに接続できません"
    "[INFO] キャッシュを更新しました"
    "[DEBUG] ｶﾀｶﾅ半角のメッセージ"
    "[ERROR] ファイルの書き込みに失敗しました: 容量不足"
)
n=0
while :; do
    line="$(date '+%Y-%m-%d %H:%M:%S') ${messages[RANDOM % ${#messages[@]}]} #$n"
    printf '%s\r\n' "$line" | iconv -f UTF-8 -t CP932 >>"$log" || exit 1
    n=$((n + 1))
    sleep 0.$((3 + RANDOM % 5))
done
