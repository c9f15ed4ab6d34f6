// The clipboard's text made at paste time: another program taking the clipboard while it is
// made has Qt delete the data object in the middle of the making.
#include "platform/LazyMimeData.h"

#include <QApplication>
#include <QTest>

namespace {

// Makes a fixed text and, while "making", does what events let through could do.
class ScriptedText : public ClipboardText
{
public:
    Outcome make(QByteArray &utf8, WorkProgress &) const override
    {
        ++makes;
        if (meanwhile)
            meanwhile();
        utf8 = "made";
        return Outcome::Made;
    }
    std::function<void()> meanwhile;
    mutable int makes = 0;
};

} // namespace

class tst_LazyMimeData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deletedWhileMakingTouchesNothing_data()
    {
        QTest::addColumn<bool>("settling");
        QTest::newRow("a paste") << false;
        QTest::newRow("settled on clear") << true;
    }
    void deletedWhileMakingTouchesNothing()
    {
        QFETCH(bool, settling);
        auto text = std::make_shared<ScriptedText>();
        auto *data = new LazyMimeData(text, nullptr);
        text->meanwhile = [&] { delete data; };
        if (settling) {
            data->settle();
        } else {
            QCOMPARE(data->data(QStringLiteral("text/plain")), QByteArray("made"));
        }
        QCOMPARE(text->makes, 1); // and AddressSanitizer sees no write to the freed object
    }

    void keptTextIsMadeOnce()
    {
        auto text = std::make_shared<ScriptedText>();
        LazyMimeData data(text, nullptr);
        QCOMPARE(data.data(QStringLiteral("text/plain")), QByteArray("made"));
        QCOMPARE(data.data(QStringLiteral("text/plain")), QByteArray("made"));
        QCOMPARE(text->makes, 1);
    }
};

QTEST_MAIN(tst_LazyMimeData)
#include "tst_LazyMimeData.moc"
