// One "次を検索" step over a log view of 1,000,000 lines of the generated Japanese log, for a
// word found only in the last line: the cost a user pays when the word is rare in a long
// session. The step runs through the real find dialog on the real view (offscreen), caret at
// the start each time; the figure is the median of a few steps. The reference in the same run
// is the matching rule alone (TextSearch) over the same text held whole in memory as UTF-16,
// which the view never holds.
#include "BenchSupport.h"
#include "JapaneseLogCorpus.h"
#include "commands/frmSearch.h"
#include "platform/MessageBox.h"
#include "view/StoreLogView.h"
#include "view/store/TextSearch.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLines = 1000000;
constexpr int kRuns = 7;
const QString kWord = QStringLiteral("Deadlock");

// Counts what the search reports instead of showing a box.
class CountingMessageBox : public MessageBox
{
public:
    void inform(const QString &) override { ++messages; }
    Answer ask(const QString &) override { return Answer::Ok; }
    int messages = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    StoreLogView view;
    JapaneseLogCorpus corpus;
    QString whole;
    for (int line = 0; line < kLines; line += 1000) {
        QString burst = corpus.nextText(std::min(1000, kLines - line));
        if (line + 1000 >= kLines)
            burst.insert(burst.size() - 2, u' ' + kWord.toUpper());
        view.insertAtCaret(burst);
        whole += burst;
    }

    CountingMessageBox messages;
    auto *dialog = new frmSearch(view, messages);
    dialog->findChild<QLineEdit *>(QStringLiteral("txtWord"))->setText(kWord);
    auto *next = dialog->findChild<QPushButton *>(QStringLiteral("cmdNext"));

    std::vector<double> timings;
    std::vector<double> references;
    for (int run = 0; run < kRuns; ++run) {
        view.setCaret(0);
        QElapsedTimer timer;
        timer.start();
        next->click();
        timings.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (messages.messages != 0 || view.selectionLength() != kWord.size()) {
            std::fprintf(stderr, "bench: the word was not found\n");
            return 1;
        }
        timer.restart();
        const auto hit = TextSearch::findForward(whole, kWord, 0, Qt::CaseInsensitive);
        references.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (hit != view.selectionStart())
            return 1;
    }
    std::printf("bench: find_ms_at_1m %.1f ms\n", median(timings));
    std::printf("bench: find_vs_text_search %.2f x\n", median(timings) / median(references));
    delete dialog;
    return 0;
}
