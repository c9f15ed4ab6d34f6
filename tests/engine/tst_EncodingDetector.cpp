#include "engine/CharacterSets.h"
#include "engine/EncodingDetector.h"
#include "engine/EucJpDecoder.h"
#include "platform/Cp932Decoder.h"
#include "platform/Utf8Decoder.h"

#include "Iconv.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Finding = EncodingDetector::Finding;

namespace {

constexpr qint32 kSjis = CharacterSets::kShiftJis;
constexpr qint32 kEuc = CharacterSets::kEucJp;
constexpr qint32 kUtf8 = CharacterSets::kUtf8;

// Text in a character set, by iconv (EUC-JP-MS: EUC-JP with the NEC row).
QByteArray encode(const QString &text, qint32 characterSet)
{
    const char *to = characterSet == kSjis ? "CP932" : characterSet == kEuc ? "EUC-JP-MS" : "UTF-8";
    return Iconv(to, "UTF-16LE")
        .convert(QByteArrayView(reinterpret_cast<const char *>(text.utf16()), text.size() * 2));
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
            // Kana only.
            u"おわりました"_s,
            u"エラー"_s,
            // Half-width katakana only: single bytes in Shift_JIS, 0x8E pairs in EUC-JP.
            u"ｴﾗｰ"_s,
            u"ﾃﾞｰﾀ"_s,
            u"ｼｽﾃﾑ ｴﾗｰ ｺｰﾄﾞ=12"_s,
            // Kanji only.
            u"受注管理"_s,
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
        const Finding finding = m_detector.examine(bytes, true);
        QCOMPARE(finding.kind, Finding::Kind::Decided);
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
        row("byte order mark", "\xEF\xBB\xBF", true, Finding::Kind::Decided, kUtf8);
        row("byte order mark split", "\xEF\xBB", true, Finding::Kind::Waiting);
        // Not at the start of the file it is only a character, and Shift_JIS wins here.
        row("byte order mark inside", "\xEF\xBB\xBF\x82\xA0\x82\xA2\n", false,
            Finding::Kind::Decided, kSjis);
        // A line longer than the window is decided from the window, cut in a character.
        row("long line",
            "x" + QByteArray("\xE3\x81\x82").repeated(EncodingDetector::kWindowBytes / 3 + 1), true,
            Finding::Kind::Decided, kUtf8);
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
