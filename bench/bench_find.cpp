// One "次を検索" step over a log view of 1,000,000 lines, for a word that occurs only near the
// end: the cost a user pays when the word is rare in a long session. The step runs through the
// real find dialog on the real view (offscreen), caret at the start each time; the figure is
// the median of a few steps.
#include "commands/frmSearch.h"
#include "platform/MessageBox.h"
#include "view/StoreLogView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLines = 1000000;
constexpr int kRuns = 5;
const QString kWord = QStringLiteral("Deadlock");

// Counts what the search reports instead of showing a box.
class CountingMessageBox : public MessageBox
{
public:
    void inform(const QString &) override { ++messages; }
    Answer ask(const QString &) override { return Answer::Ok; }
    int messages = 0;
};

// About 70 characters a line, mixed ASCII and Japanese; the word appears once, ten lines
// before the end.
QString makeLog()
{
    QString log;
    log.reserve(qsizetype(kLines) * 72);
    for (int line = 0; line < kLines; ++line) {
        log += QStringLiteral("2026-12-07 09:%1:%2.123 [INFO] worker-%3 処理しました request=%4")
                   .arg(10 + line % 50)
                   .arg(10 + line % 49)
                   .arg(line % 8)
                   .arg(line);
        if (line == kLines - 10)
            log += u' ' + kWord.toUpper();
        log += QStringLiteral("\r\n");
    }
    return log;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    StoreLogView view;
    view.setText(makeLog());

    CountingMessageBox messages;
    auto *dialog = new frmSearch(view, messages);
    dialog->findChild<QLineEdit *>(QStringLiteral("txtWord"))->setText(kWord);
    auto *next = dialog->findChild<QPushButton *>(QStringLiteral("cmdNext"));

    // A slow view must not hold the bench up for minutes: stop early once past the budget.
    QElapsedTimer total;
    total.start();
    std::vector<double> timings;
    for (int run = 0; run < kRuns && (run < 3 || total.elapsed() < 20000); ++run) {
        view.setCaret(0);
        QElapsedTimer timer;
        timer.start();
        next->click();
        timings.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (messages.messages != 0 || view.selectionLength() != kWord.size()) {
            std::fprintf(stderr, "bench: the word was not found\n");
            return 1;
        }
    }
    std::sort(timings.begin(), timings.end());
    std::printf("bench: find_ms_at_1m %.1f ms\n", timings[timings.size() / 2]);
    delete dialog;
    return 0;
}
