#include "startup/CommandLineHelp.h"

#include "startup/ProgramVersion.h"

#include <string>

namespace CommandLineHelp {

namespace {

// One line per option value, so that a new character set is one more line.
constexpr std::string_view kUsage = R"(使い方: pivex [オプション] [ファイル]...

追記されていくテキストファイル（ログ）を一つのウィンドウで監視し、
新しく書かれた行を一定の間隔で表示します。ファイルには書き込みません。

オプション（大文字と小文字は区別します。ファイル名と順不同で指定できます）:
  /v              各ファイルの既存の内容を表示してから監視を始める
  /g              grepモード: キーワードを含む新しい行だけを表示する
  /k="文字列"     grepモードのキーワード
  /w="タイトル"   ウィンドウのタイトル
  /i=ミリ秒       監視間隔（100～10000、100単位に切り捨て、既定は1000）
  /c=sjis         ファイルの文字コードをシフトJISとする（既定）
  /c=euc          ファイルの文字コードをEUC-JPとする
  /c=utf8         ファイルの文字コードをUTF-8とする
  /c=auto         文字コードをファイルごとに自動判別する
  --help          この説明を表示して終了する
  --version       バージョンを表示して終了する

コマンドラインで指定できるファイルは10個までです。/ で始まり、途中にも / を
含む引数（/var/log/app.log など）はファイル名として扱います。
/w と /k の二重引用符は pivex に渡す必要があるため、シェルでは全体を
単一引用符で囲みます。

例:
  pivex /var/log/app.log
  pivex /v '/w="Web"' /var/log/web/access.log /var/log/web/error.log
  pivex /g '/k="ERROR"' /i=500 /c=euc /srv/app/batch.log

監視間隔・文字コード・フォントは、オプション画面を OK で閉じたときに
$XDG_CONFIG_HOME/pivex.ini（通常は ~/.config/pivex.ini）に保存されます。
コマンドラインの指定は、その回に限り保存された値より優先されます。

詳しくは man pivex を参照してください。
)";

const std::string kVersionLine
    = std::string(ProgramVersion::kName) + ' ' + ProgramVersion::kVersion + '\n';

} // namespace

std::string_view usage()
{
    return kUsage;
}

std::string_view version()
{
    return kVersionLine;
}

std::optional<int> answer(int argc, const char *const *argv, std::FILE *out)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i] ? argv[i] : "";
        std::string_view text;
        if (argument == "--help")
            text = usage();
        else if (argument == "--version")
            text = version();
        else
            continue;
        const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
        return written && std::fflush(out) == 0 ? 0 : 1;
    }
    return std::nullopt;
}

} // namespace CommandLineHelp
