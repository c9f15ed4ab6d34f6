#include "commands/TextSearch.h"
#include "platform/PlainTextLogView.h"

#include <QRandomGenerator>
#include <QTest>

// The view searches its document where it is stored; whatever the document's inner layout
// (lines that arrived in several reads, in several colours, after a clear), the answers must
// be those of a plain search through the view's text.
class TestDocumentSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void agreesWithSearchingTheWholeText()
    {
        const QStringList pieces = {QStringLiteral("ERROR"), QStringLiteral("err"),
                                    QStringLiteral("\r\n"),  QStringLiteral("ｅｒｒ"),
                                    QString::fromUtf8("ログ"), QStringLiteral(" x "),
                                    QStringLiteral("rr\r\nE")};
        const QStringList words = {QStringLiteral("err"), QStringLiteral("ERR"),
                                   QStringLiteral("rE"),  QStringLiteral("ｅＲ"),
                                   QString::fromUtf8("グ"), QStringLiteral("r x")};
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
};

QTEST_MAIN(TestDocumentSearch)
#include "tst_DocumentSearch.moc"
