#include "engine/CharacterSets.h"
#include "engine/EncodingDetector.h"
#include "engine/EucJpDecoder.h"
#include "platform/Cp932Decoder.h"
#include "platform/Utf8Decoder.h"

#include <QTest>

#include <iconv.h>

using namespace Qt::StringLiterals;
using Finding = EncodingDetector::Finding;

namespace {

constexpr qint32 kSjis = CharacterSets::kShiftJis;
constexpr qint32 kEuc = CharacterSets::kEucJp;
constexpr qint32 kUtf8 = CharacterSets::kUtf8;

// Text in a character set, by glibc's iconv (EUC-JP-MS: EUC-JP with the NEC row).
QByteArray encode(const QString &text, qint32 characterSet)
{
    const char *to = characterSet == kSjis ? "CP932" : characterSet == kEuc ? "EUC-JP-MS" : "UTF-8";
    const iconv_t cd = iconv_open(to, "UTF-16LE");
    if (cd == iconv_t(-1))
        return {};
    QByteArray in(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    QByteArray out(in.size() * 2 + 8, Qt::Uninitialized);
    char *inPtr = in.data();
    char *outPtr = out.data();
    size_t inLeft = size_t(in.size());
    size_t outLeft = size_t(out.size());
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1);
    iconv_close(cd);
    return ok ? out.first(out.size() - qsizetype(outLeft)) : QByteArray();
}

} // namespace

class TestEncodingDetector : public QObject
{
    Q_OBJECT

private:
    Cp932Decoder m_sjis;
    EucJpDecoder m_euc {m_sjis};
    Utf8Decoder m_utf8;
    EncodingDetector m_detector {m_sjis, m_euc, m_utf8};

private Q_SLOTS:
    // Each sample, as the first line of a file in each of the three character sets, is
    // decided for that set.
    void decidesEachSample_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint32>("characterSet");
        const QString samples[] = {
            // Short: one character, one word.
            u"あ"_s,
            u"亜"_s,
            u"①"_s,
            u"25°C"_s,
            u"ERROR: 失敗"_s,
            // Kana only.
            u"おわりました"_s,
            u"エラー"_s,
            u"[INFO] ログ"_s,
            // Half-width katakana only: single bytes in Shift_JIS, 0x8E pairs in EUC-JP.
            u"ｴﾗｰ"_s,
            u"ﾃﾞｰﾀ"_s,
            u"ｼｽﾃﾑ ｴﾗｰ ｺｰﾄﾞ=12"_s,
            u"ｼｮﾘ ｶｲｼ: ﾌｧｲﾙ ｦ ﾖﾐｺﾐﾏｽ"_s,
            // Kanji only.
            u"受注管理"_s,
            u"[決済] 処理開始"_s,
            // Long: a log line, and a paragraph.
            u"2026-12-07 09:41:07.123 [受注管理] INFO  4003:7 注文番号 A0012345 を受け付けました 金額=04800円"_s,
            QString(u"ファイル /srv/batch/input/A0012345.csv を読み込みました。"_s).repeated(20),
        };
        for (const QString &text : samples) {
            for (const qint32 set : {kSjis, kEuc, kUtf8}) {
                const QString name = CharacterSets::caption(set) + u": "_s + text.left(40);
                QTest::newRow(name.toUtf8().constData()) << text << set;
            }
        }
    }
    void decidesEachSample()
    {
        QFETCH(QString, text);
        QFETCH(qint32, characterSet);
        const QByteArray bytes = "date=2026-12-07 " + encode(text, characterSet) + "\r\nnext\r\n";
        QVERIFY(bytes.size() > 20);
        const Finding finding = m_detector.examine(bytes, true);
        QCOMPARE(finding.kind, Finding::Kind::Decided);
        QCOMPARE(finding.firstNonAscii, 16 + text.indexOf(QRegularExpression(u"[^\\x00-\\x7F]"_s)));
        QCOMPARE(CharacterSets::caption(finding.characterSet),
                 CharacterSets::caption(characterSet));
    }

    // What is decided from, and when the bytes must wait.
    void findings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("atFileStart");
        QTest::addColumn<int>("kind");
        QTest::addColumn<qint32>("characterSet");
        const auto row
            = [](const char *name, const QByteArray &bytes, bool atStart, Finding::Kind kind,
                 qint32 set = -1) { QTest::newRow(name) << bytes << atStart << int(kind) << set; };
        row("ASCII only", "plain\r\nlines\n", true, Finding::Kind::AsciiOnly);
        row("line not ended yet", "ok\n\xE3\x81\x82\xE3", true, Finding::Kind::Waiting);
        row("first byte split off", "abc\xA4", true, Finding::Kind::Waiting);
        row("byte order mark", "\xEF\xBB\xBF", true, Finding::Kind::Decided, kUtf8);
        row("byte order mark split", "\xEF\xBB", true, Finding::Kind::Waiting);
        row("byte order mark, then Shift_JIS", "\xEF\xBB\xBF\x82\xA0\n", true,
            Finding::Kind::Decided, kUtf8);
        // Not at the start of the file it is only a character, and Shift_JIS wins here.
        row("byte order mark inside", "\xEF\xBB\xBF\x82\xA0\x82\xA2\n", false,
            Finding::Kind::Decided, kSjis);
        // A line longer than the window is decided from the window, cut anywhere.
        row("long line", QByteArray("\xA4\xA2").repeated(EncodingDetector::kWindowBytes / 2 + 1),
            true, Finding::Kind::Decided, kEuc);
        row("long line, cut in a character",
            "x" + QByteArray("\xE3\x81\x82").repeated(EncodingDetector::kWindowBytes / 3 + 1), true,
            Finding::Kind::Decided, kUtf8);
        row("window one byte short", QByteArray(EncodingDetector::kWindowBytes - 1, '\xB1'), true,
            Finding::Kind::Waiting);
    }
    void findings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, atFileStart);
        const Finding finding = m_detector.examine(bytes, atFileStart);
        QTEST(int(finding.kind), "kind");
        QTEST(finding.characterSet, "characterSet");
    }
};

QTEST_APPLESS_MAIN(TestEncodingDetector)
#include "tst_EncodingDetector.moc"
