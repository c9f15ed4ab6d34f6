#include "platform/PlainTextLogView.h"
#include "platform/SoftBreaks.h"
#include "view/store/TextSearch.h"

#include <QPlainTextEdit>

#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>

// The view searches its document where it is stored; whatever the document's inner layout
// (lines that arrived in several reads, in several colours, after a clear), the answers must
// be those of a plain search through the view's text.
class TestDocumentSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void agreesWithSearchingTheWholeText()
    {
        const QStringList pieces
            = {QStringLiteral("ERROR"),  QStringLiteral("err"),     QStringLiteral("\r\n"),
               QStringLiteral("ｅｒｒ"), QString::fromUtf8("ログ"), QStringLiteral(" x "),
               QStringLiteral("rr\r\nE")};
        const QStringList words
            = {QStringLiteral("err"),  QStringLiteral("ERR"),   QStringLiteral("rE"),
               QStringLiteral("ｅＲ"), QString::fromUtf8("グ"), QStringLiteral("r x")};
        QRandomGenerator random(11);
        PlainTextLogView view;
        for (int round = 0; round < 60; ++round) {
            if (round % 20 == 0)
                view.setText({});
            // Each insertion is one read; colour changes in between split lines into
            // fragments of their own.
            for (int read = 0; read < 5; ++read) {
                QString text;
                for (int k = random.bounded(1, 6); k > 0; --k)
                    text += pieces.at(random.bounded(int(pieces.size())));
                if (random.bounded(3) == 0)
                    view.setSelectionTextColor(random.bounded(2) ? Qt::red : Qt::gray);
                view.setCaret(view.textLength());
                view.insertAtCaret(text);
            }
            const QString whole = view.text();
            for (const QString &word : words) {
                for (const auto sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
                    const qsizetype from = random.bounded(int(whole.size()) + 2);
                    const auto expected = TextSearch::findForward(whole, word, from, sensitivity);
                    QCOMPARE(view.find(word, from, sensitivity), expected);
                }
            }
        }
    }

    // Overlong lines are broken for display only: text, offsets, selections, copying and
    // finding must all still see each line whole, also across reads and after a clear.
    void overlongLinesStayWholeForEverythingButTheDisplay()
    {
        const qsizetype max = SoftBreaks::kMaxLine;
        const QStringList pieces
            = {QString(max - 3, u'a'),     QStringLiteral("ERR"), QStringLiteral("\r\n"),
               QString(2 * max + 7, u'b'), QStringLiteral("\n"),  QString::fromUtf8("ログ")};
        QRandomGenerator random(3);
        PlainTextLogView view;
        QString expected;
        for (int round = 0; round < 40; ++round) {
            if (round == 20) {
                view.setText({});
                expected.clear();
            }
            QString read;
            for (int k = random.bounded(1, 5); k > 0; --k)
                read += pieces.at(random.bounded(int(pieces.size())));
            view.setCaret(view.textLength());
            view.insertAtCaret(read);
            expected += QString(read)
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                            .replace(u'\n', QStringLiteral("\r\n"));

            QCOMPARE(view.textLength(), expected.size());
            QCOMPARE(view.text(), expected);
            const qsizetype start = random.bounded(int(expected.size()) + 1);
            const qsizetype length = random.bounded(int(expected.size() - start) + 1);
            view.select(start, length);
            // A selection edge inside a CR LF snaps to the line's end.
            const bool insideCrLf =
                [&](qsizetype at) {
                    return at > 0 && at < expected.size() && expected.at(at) == u'\n';
                }(start)
                || (start + length > 0 && start + length < expected.size()
                    && expected.at(start + length) == u'\n');
            if (!insideCrLf) {
                QCOMPARE(view.selectionStart(), start);
                QCOMPARE(view.selectedText(), expected.mid(start, length));
            }
            const qsizetype from = random.bounded(int(expected.size()) + 1);
            QCOMPARE(
                view.find(QStringLiteral("aE"), from, Qt::CaseInsensitive),
                TextSearch::findForward(expected, QStringLiteral("aE"), from, Qt::CaseInsensitive));
        }
        // No paragraph of the display is longer than the limit.
        const QTextDocument *document = view.widget()->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            QVERIFY(block.length() - 1 <= max);
    }
};

QTEST_MAIN(TestDocumentSearch)
#include "tst_DocumentSearch.moc"
