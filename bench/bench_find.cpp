// One "次を検索" step over a log view of 1,000,000 lines of the generated Japanese log, for a
// word found only in the first and the last line: the cost a user pays when the word is rare
// in a long session. The step runs through the real find dialog on the real view (offscreen),
// caret at the start of the second line each time, once the dialog's count of the word has run
// in later turns of the event loop as it does while a user types (it leaves each block's filter
// of byte pairs behind, so that find passes most blocks by); the figure is the median of a few
// steps. The reference in the same run is the matching rule alone (TextSearch) over the same
// text held whole in memory as UTF-16, which the view never holds.
//   find_before_count_ms_at_1m: the step taken before the count has read a single block, as
//     when Enter follows the word at once; count_in_turns_ms_at_1m: the count's own time;
//   find_backward_ms_at_1m: "前を検索" from the start of the last line, which finds the word in
//     the first, beside the forward step;
//   find_common_pairs_ms_at_1m: a word that is nowhere but whose pairs of bytes are in every
//     block ("ERROR 4007"), so no block is passed by: the worst case, every block read; and
//     the same backwards from the end, beside it.
#include "BenchSupport.h"
#include "JapaneseLogCorpus.h"
#include "commands/frmSearch.h"
#include "platform/MessageBox.h"
#include "view/StoreLogView.h"
#include "view/store/TextSearch.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
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
        if (line == 0)
            burst.insert(burst.indexOf(u'\r'), u' ' + kWord.toUpper());
        view.insertAtCaret(burst);
        whole += burst;
    }

    CountingMessageBox messages;
    auto *dialog = new frmSearch(view, messages);
    dialog->findChild<QLineEdit *>(QStringLiteral("txtWord"))->setText(kWord);
    auto *next = dialog->findChild<QPushButton *>(QStringLiteral("cmdNext"));
    auto *previous = dialog->findChild<QPushButton *>(QStringLiteral("cmdPrev"));
    auto *count = dialog->findChild<QLabel *>(QStringLiteral("lblCount"));
    const qsizetype secondLine = view.store().lineStart(LineNo(1)).value;
    const qsizetype lastLine = view.store().lineStart(LineNo(view.lineCount() - 2)).value;

    // Enter pressed at once after typing: the count has not read a block yet.
    view.setCaret(secondLine);
    QElapsedTimer cold;
    cold.start();
    next->click();
    const double coldMs = double(cold.nsecsElapsed()) / 1e6;
    // As a user finds it: the count runs in later turns while the word is typed.
    QElapsedTimer counting;
    counting.start();
    while (!count->text().endsWith(QStringLiteral(" 件")))
        QApplication::processEvents();
    const double countMs = double(counting.nsecsElapsed()) / 1e6;

    std::vector<double> timings;
    std::vector<double> references;
    for (int run = 0; run < kRuns; ++run) {
        view.setCaret(secondLine);
        QElapsedTimer timer;
        timer.start();
        next->click();
        timings.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (messages.messages != 0 || view.selectionLength() != kWord.size()) {
            std::fprintf(stderr, "bench: the word was not found\n");
            return 1;
        }
        timer.restart();
        const auto hit = TextSearch::findForward(whole, kWord, secondLine, Qt::CaseInsensitive);
        references.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (hit != view.selectionStart())
            return 1;
    }
    std::vector<double> backward;
    for (int run = 0; run < kRuns; ++run) {
        view.setCaret(lastLine);
        QElapsedTimer timer;
        timer.start();
        previous->click();
        backward.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (messages.messages != 0 || view.selectionLength() != kWord.size()
            || view.selectionStart() >= secondLine) {
            std::fprintf(stderr, "bench: the word was not found backwards\n");
            return 1;
        }
    }
    // Nowhere, but made of pairs every block holds: every block read, both ways.
    std::vector<double> worst;
    std::vector<double> worstBackward;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const auto hit = view.find(QStringLiteral("ERROR 4007"), 0, Qt::CaseInsensitive);
        worst.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        const auto back = view.findBackward(QStringLiteral("ERROR 4007"), view.textLength(),
                                            Qt::CaseInsensitive);
        worstBackward.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (hit || back)
            return 1;
    }
    std::printf("bench: find_ms_at_1m %.1f ms\n", median(timings));
    std::printf("bench: find_before_count_ms_at_1m %.1f ms\n", coldMs);
    std::printf("bench: count_in_turns_ms_at_1m %.0f ms\n", countMs);
    std::printf("bench: find_vs_text_search %.2f x\n", median(timings) / median(references));
    std::printf("bench: find_backward_ms_at_1m %.1f ms\n", median(backward));
    std::printf("bench: find_backward_vs_forward %.2f x\n", median(backward) / median(timings));
    std::printf("bench: find_common_pairs_ms_at_1m %.1f ms\n", median(worst));
    std::printf("bench: find_common_pairs_backward_vs_forward %.2f x\n",
                median(worstBackward) / median(worst));
    delete dialog;
    return 0;
}
