#include "view/store/LogStore.h"
#include "view/store/MatchCounter.h"
#include "view/store/StoreSearch.h"
#include "view/store/TextSearch.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

// Find and count work on the store's encoded blocks, passing by blocks that cannot hold the
// word; whatever the blocks' size and wherever their edges fall, their answers must be those
// of the plain search over the whole text.
class TestStoreSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void agreesWithSearchingTheWholeText_data()
    {
        QTest::addColumn<int>("blockBytes");
        QTest::addColumn<QString>("word");
        // Units whose fold mates encode to another length (the Kelvin sign folds to "k", the
        // long s to "s"), full-width letters, Japanese, a break inside the word, and a word
        // longer than a block; the dotless ı, whose capital folds to another letter.
        // Blocks of 16 KiB, with a long text, have the pair filters of real ones.
        for (const int blockBytes : {16, 61, 4096, 16384}) {
            const QByteArray size = QByteArray::number(blockBytes);
            for (const QString &word :
                 {u"err"_s, u"ERR"_s, u"rE"_s, u"ｅＲ"_s, u"グ"_s, u"r x"_s, u"disk"_s, u"ſ"_s,
                  u"\u212Aey"_s, u"r\r\nE"_s, u"ログERROR"_s.repeated(4), u"a"_s, u"ız"_s}) {
                QTest::addRow("%s bytes, %s", size.constData(), qPrintable(word))
                    << blockBytes << word;
            }
        }
    }
    void agreesWithSearchingTheWholeText()
    {
        QFETCH(int, blockBytes);
        QFETCH(QString, word);
        const QStringList pieces
            = {u"ERROR"_s, u"err"_s,     u"\r\n"_s,      u"ｅｒｒ"_s,    u"ログ"_s,
               u" x "_s,   u"rr\r\nE"_s, u"DISK"_s,      u"di\u017Fk"_s, u"\u212AEY"_s,
               u"ſ"_s,     u"a"_s,       u"ログERROR"_s, u"Iz"_s,        u"ız"_s};
        QRandomGenerator random(11);
        const bool large = blockBytes >= 16384;
        for (int round = 0; round < (large ? 2 : 20); ++round) {
            LogStore store(blockBytes);
            QString whole;
            // Counted as the text comes in, a few blocks a step.
            MatchCounter counters[] = {{word, Qt::CaseSensitive}, {word, Qt::CaseInsensitive}};
            QList<qint64> lines[2];
            for (int read = large ? 12000 : random.bounded(1, 40); read > 0; --read) {
                QString text;
                for (int k = random.bounded(1, 6); k > 0; --k)
                    text += pieces.at(random.bounded(int(pieces.size())));
                store.append(text);
                whole += text;
                for (int c = 0; c < 2; ++c) {
                    int blocks = random.bounded(1, 4);
                    counters[c].step(
                        store, [&] { return --blocks > 0; },
                        [&](LineNo line) { lines[c] << line.value; });
                }
            }
            for (int c = 0; c < 2; ++c) {
                const auto sensitivity = c == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
                while (!counters[c].step(
                    store, [] { return false; }, [&](LineNo line) { lines[c] << line.value; })) { }
                QList<qint64> expectedLines;
                qint64 line = 0;
                qsizetype counted = 0;
                for (qsizetype at = whole.indexOf(word, 0, sensitivity); at >= 0;
                     at = whole.indexOf(word, at + 1, sensitivity)) {
                    line += QStringView(whole).sliced(counted, at - counted).count(u'\n');
                    counted = at;
                    expectedLines << line;
                }
                QCOMPARE(counters[c].count(), whole.count(word, sensitivity));
                QCOMPARE(lines[c], expectedLines);
            }
            for (int probe = 0; probe < 12; ++probe) {
                const qsizetype from = random.bounded(int(whole.size()) + 2) - 1;
                for (const auto sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
                    const auto expected = TextSearch::findForward(whole, word, from, sensitivity);
                    const auto found
                        = StoreSearch::findForward(store, word, StoreOffset(from), sensitivity);
                    QCOMPARE(found.has_value(), expected.has_value());
                    if (found)
                        QCOMPARE(found->value, *expected);
                    // Backwards: the last hit that ends at or before from.
                    const qsizetype before = from < word.size()
                        ? -1
                        : QStringView(whole).lastIndexOf(word, from - word.size(), sensitivity);
                    const auto back
                        = StoreSearch::findBackward(store, word, StoreOffset(from), sensitivity);
                    QCOMPARE(back ? back->value : -1, before);
                }
            }
        }
    }

    // Blocks whose pairs show they cannot hold the word are passed by once a scan has read them;
    // hits across their edges are still found, in the ends they keep. A rare word in a log of
    // digits, some of its hits cut by block edges.
    // The units each folded unit stands for split every UTF-16 unit into classes, ascending.
    void unitsFoldingToPartitionsEveryUnit()
    {
        qint64 listed = 0;
        for (char32_t target = 0; target <= 0xFFFF; ++target) {
            const std::vector<char16_t> units = TextSearch::unitsFoldingTo(char16_t(target));
            QVERIFY(std::is_sorted(units.begin(), units.end()));
            for (char16_t u : units)
                QCOMPARE(TextSearch::foldedUnit(u), char16_t(target));
            listed += qint64(units.size());
        }
        QCOMPARE(listed, 0x10000);
    }

    void passedBlocksKeepHitsAcrossTheirEdges_data()
    {
        QTest::addColumn<QString>("word");
        for (const QString &word : {u"Wxyz"_s, u"ｗＸ"_s, u"エラー発生"_s, u"a\r\nB"_s})
            QTest::addRow("%s", qPrintable(word)) << word;
    }
    void passedBlocksKeepHitsAcrossTheirEdges()
    {
        QFETCH(QString, word);
        QRandomGenerator random(3);
        LogStore store(150);
        QString whole;
        for (int read = 0; read < 3000; ++read) {
            QString text = QString::number(random.bounded(100000)) + u" 0\r\n"_s;
            if (random.bounded(6) == 0)
                text.insert(random.bounded(int(text.size()) - 1), // never inside the CR LF
                            random.bounded(2) ? word : word.toUpper());
            store.append(text);
            whole += text;
        }
        for (int pass = 0; pass < 2; ++pass) { // the first one reads every block
            for (const auto sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
                MatchCounter counter(word, sensitivity);
                counter.step(store, [] { return true; });
                QCOMPARE(counter.count(), whole.count(word, sensitivity));
                qsizetype at = -1;
                while (const auto hit
                       = StoreSearch::findForward(store, word, StoreOffset(at + 1), sensitivity)) {
                    QCOMPARE(hit->value, whole.indexOf(word, at + 1, sensitivity));
                    at = hit->value;
                }
                QCOMPARE(whole.indexOf(word, at + 1, sensitivity), -1);
                // Backwards through every hit that ends before the one found last.
                qsizetype end = whole.size();
                while (const auto hit
                       = StoreSearch::findBackward(store, word, StoreOffset(end), sensitivity)) {
                    QCOMPARE(hit->value, whole.lastIndexOf(word, end - word.size(), sensitivity));
                    end = hit->value + word.size() - 1;
                }
                QCOMPARE(end < word.size()
                             ? -1
                             : whole.lastIndexOf(word, end - word.size(), sensitivity),
                         -1);
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestStoreSearch)
#include "tst_StoreSearch.moc"
