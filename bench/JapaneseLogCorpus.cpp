#include "JapaneseLogCorpus.h"

#include "platform/Cp932Decoder.h"

#include <QHash>
#include <QStringBuilder>

namespace {

const char *const kModules[]
    = {"認証", "受注管理", "在庫管理", "決済", "通知", "帳票出力", "バッチ", "監視"};
const char *const kLevels[] = {"INFO ", "INFO ", "INFO ", "INFO ", "DEBUG", "WARN ", "ERROR"};
const char *const kUsers[] = {"tanaka", "suzuki", "sato", "yamamoto", "kobayashi", "ito"};
const char *const kPaths[]
    = {"/var/lib/app/data", "/srv/batch/input", "/opt/app/conf", "/home/share/帳票"};

// Code page 932 bytes of each character the corpus uses, read back from the decoder's own
// table so the generator and the program agree on every pair.
const QHash<char16_t, QByteArray> &shiftJisTable()
{
    static const QHash<char16_t, QByteArray> table = [] {
        QHash<char16_t, QByteArray> map;
        Cp932Decoder decoder;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!Cp932Decoder::isLeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F)
                    continue;
                const char bytes[] = {char(lead), char(trail)};
                const QByteArray pair(bytes, 2);
                const QString unit = decoder.decode(pair, ShiftJisDecoder::Tail::DecodeAll).text;
                // The first pair wins where code page 932 has two for one character (NEC and
                // IBM rows), as Windows encodes it.
                if (unit.size() == 1 && unit.at(0) != QChar(0xFFFD)
                    && !map.contains(unit.at(0).unicode()))
                    map.insert(unit.at(0).unicode(), pair);
            }
        }
        for (int b = 0xA1; b <= 0xDF; ++b)
            map.insert(char16_t(0xFF61 + b - 0xA1), QByteArray(1, char(b)));
        return map;
    }();
    return table;
}

} // namespace

JapaneseLogCorpus::JapaneseLogCorpus(quint32 seed)
    : m_random(seed)
{
}

QString JapaneseLogCorpus::nextLine()
{
    const qint64 n = m_line++;
    auto pick = [this](const auto &list) {
        return QString::fromUtf8(list[m_random.bounded(int(std::size(list)))]);
    };
    auto number = [this](int digits) {
        int limit = 1;
        for (int k = 0; k < digits; ++k)
            limit *= 10;
        return QString::number(m_random.bounded(limit)).rightJustified(digits, QLatin1Char('0'));
    };
    const QString id = QLatin1Char(char('A' + m_random.bounded(26))) + number(7);
    const QString hex = QString::number(m_random.generate(), 16).toUpper().rightJustified(8, u'0');

    QString message;
    switch (m_random.bounded(12)) {
    case 0:
        message = u"ユーザー " % pick(kUsers) % u" のログインに成功しました session=" % hex;
        break;
    case 1:
        message = u"データベース接続を開始しました host=db" % number(2) % u".example.jp";
        break;
    case 2:
        message = u"ファイル " % pick(kPaths) % u"/" % id % u".csv を読み込みました " % number(5)
            % u"バイト";
        break;
    case 3:
        message = u"リクエスト " % id % u" の処理が完了しました 所要時間=" % number(3) % u"ms";
        break;
    case 4:
        message = u"キャッシュを更新しました 件数=" % number(5) % u" 失効=" % number(3);
        break;
    case 5:
        message
            = u"設定ファイル " % pick(kPaths) % u"/app.ini が見つかりません。既定値を使用します";
        break;
    case 6:
        message = u"接続がタイムアウトしました。再試行します (" % number(1) % u"/5) id=" % id;
        break;
    case 7:
        message = u"注文番号 " % id % u" を受け付けました 金額=" % number(5) % u"円";
        break;
    case 8:
        message = u"バッチ処理 " % id % u" を開始しました 対象件数=" % number(6);
        break;
    case 9:
        message = u"メール送信に失敗しました 宛先=" % pick(kUsers) % u"@example.co.jp";
        break;
    case 10:
        message = u"ディスク使用率が " % number(2) % u"% を超えました ﾎﾞﾘｭｰﾑ=/dev/sd"
            % QLatin1Char(char('a' + m_random.bounded(4)));
        break;
    default:
        message = u"セッション " % hex % u" を破棄しました 理由=有効期限切れ";
        break;
    }

    const qint64 ms = n * 37 + m_random.bounded(37);
    const qint64 seconds = 9 * 3600 + ms / 1000;
    auto two = [](qint64 v) { return QString::number(v).rightJustified(2, QLatin1Char('0')); };
    return u"2026-12-07 " % two(seconds / 3600 % 24) % u":" % two(seconds / 60 % 60) % u":"
        % two(seconds % 60) % u"." % QString::number(ms % 1000).rightJustified(3, u'0') % u" ["
        % pick(kModules) % u"] " % pick(kLevels) % u" " % QString::number(4000 + n % 7) % u":"
        % QString::number(m_random.bounded(16)) % u" " % message;
}

QString JapaneseLogCorpus::nextText(qint64 lines)
{
    QString text;
    text.reserve(lines * 84);
    for (qint64 k = 0; k < lines; ++k)
        text += nextLine() % u"\r\n";
    return text;
}

QByteArray JapaneseLogCorpus::nextShiftJis(qint64 bytes)
{
    QByteArray out;
    out.reserve(bytes + 256);
    while (out.size() < bytes)
        out += toShiftJis(QString(nextLine() % u"\r\n"));
    return out;
}

QByteArray JapaneseLogCorpus::toShiftJis(QStringView text)
{
    const auto &table = shiftJisTable();
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            out += char(c.unicode());
        else
            out += table.value(c.unicode(), QByteArrayLiteral("?"));
    }
    return out;
}

QByteArray JapaneseLogCorpus::toEucJp(QStringView text)
{
    // JIS X 0208 row and cell from the Shift_JIS pair, then both with the high bit set;
    // half-width katakana take the single-shift prefix 0x8E.
    const QByteArray sjis = toShiftJis(text);
    QByteArray out;
    out.reserve(sjis.size() * 2);
    for (qsizetype i = 0; i < sjis.size(); ++i) {
        const auto b = static_cast<unsigned char>(sjis.at(i));
        if (b < 0x80) {
            out += char(b);
        } else if (b >= 0xA1 && b <= 0xDF) {
            out += char(0x8E);
            out += char(b);
        } else {
            const auto t = static_cast<unsigned char>(sjis.at(++i));
            int row = (b <= 0x9F ? b - 0x70 : b - 0xB0) * 2;
            int cell = t;
            if (t < 0x9F) {
                --row;
                cell = t - (t >= 0x80 ? 0x20 : 0x1F);
            } else {
                cell = t - 0x7E;
            }
            out += char(row | 0x80);
            out += char(cell | 0x80);
        }
    }
    return out;
}
