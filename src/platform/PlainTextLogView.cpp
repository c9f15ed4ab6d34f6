#include "platform/PlainTextLogView.h"

#include "platform/DocumentSearch.h"
#include "view/store/TextSearch.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

PlainTextLogView::PlainTextLogView(QWidget *parent)
    : m_edit(new QPlainTextEdit(parent))
{
    // Read only first: it resets the interaction flags, which then get keyboard selection back
    // so that Ctrl+A and Shift+arrows work without letting the user type.
    m_edit->setReadOnly(true);
    m_edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // An undo history would keep a second copy of everything ever appended.
    m_edit->setUndoRedoEnabled(false);
    m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_edit->setWordWrapMode(QTextOption::NoWrap);
    // The log is never trimmed: it grows until the user clears it.
    m_edit->setMaximumBlockCount(0);
}

PlainTextLogView::~PlainTextLogView()
{
    delete m_edit.data(); // null when the parent has already taken it down
}

QPlainTextEdit *PlainTextLogView::widget() const
{
    return m_edit.data();
}

qsizetype PlainTextLogView::viewStartOf(int blockNumber, int blockPosition) const
{
    return qsizetype(blockPosition) + blockNumber - 2 * m_softBreaks.countUpTo(blockNumber);
}

qsizetype PlainTextLogView::toViewOffset(int documentPosition) const
{
    const QTextBlock block = m_edit->document()->findBlock(documentPosition);
    return viewStartOf(block.blockNumber(), block.position())
        + (documentPosition - block.position());
}

int PlainTextLogView::toDocumentPosition(qsizetype viewOffset) const
{
    const QTextDocument *document = m_edit->document();
    if (viewOffset <= 0)
        return 0;
    if (viewOffset >= textLength())
        return document->characterCount() - 1;

    // The line holding the offset is the last one whose start, in view offsets, is not
    // behind it; line starts never decrease with the line number, so a binary search finds it.
    int low = 0;
    int high = document->blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (viewStartOf(middle, document->findBlockByNumber(middle).position()) <= viewOffset)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = document->findBlockByNumber(low);
    const qsizetype column = viewOffset - viewStartOf(low, block.position());
    // Inside the CR LF means the end of the line's text.
    return block.position() + int(std::min<qsizetype>(column, block.length() - 1));
}

QString PlainTextLogView::withCrLf(QString documentText)
{
    return documentText.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
}

qsizetype PlainTextLogView::textLength() const
{
    const QTextDocument *document = m_edit->document();
    // characterCount() includes the separator after the last line, which is not text.
    return qsizetype(document->characterCount() - 1) + (document->blockCount() - 1)
        - 2 * m_softBreaks.count();
}

QString PlainTextLogView::text() const
{
    // Raw text: toPlainText() would turn no-break spaces into spaces.
    QString raw = m_edit->document()->toRawText();
    if (!m_softBreaks.isEmpty()) {
        // Display-only breaks go; the separator before each continuation block.
        QString joined;
        joined.reserve(raw.size());
        int block = 0;
        for (const QChar c : std::as_const(raw)) {
            if (c == QChar::ParagraphSeparator && m_softBreaks.isContinuation(++block))
                continue;
            joined += c;
        }
        raw = std::move(joined);
    }
    return withCrLf(std::move(raw));
}

void PlainTextLogView::setText(const QString &text)
{
    // clear() drops the whole document, so emptying a long log gives its memory back.
    m_edit->clear();
    m_softBreaks.clear();
    if (!text.isEmpty()) {
        QTextCursor cursor(m_edit->document());
        insertAtEnd(cursor, text);
    }
    m_edit->setTextCursor(QTextCursor(m_edit->document()));
}

qsizetype PlainTextLogView::caret() const
{
    return selectionStart();
}

void PlainTextLogView::setCaret(qsizetype position)
{
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(toDocumentPosition(position));
    m_edit->setTextCursor(cursor);
    m_edit->ensureCursorVisible();
}

qsizetype PlainTextLogView::selectionStart() const
{
    return toViewOffset(m_edit->textCursor().selectionStart());
}

qsizetype PlainTextLogView::selectionLength() const
{
    const QTextCursor cursor = m_edit->textCursor();
    if (!cursor.hasSelection())
        return 0;
    return toViewOffset(cursor.selectionEnd()) - toViewOffset(cursor.selectionStart());
}

void PlainTextLogView::select(qsizetype start, qsizetype length)
{
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(toDocumentPosition(start));
    cursor.setPosition(toDocumentPosition(start + std::max<qsizetype>(length, 0)),
                       QTextCursor::KeepAnchor);
    m_edit->setTextCursor(cursor);
    m_edit->ensureCursorVisible();
}

QString PlainTextLogView::selectedText() const
{
    if (!m_softBreaks.isEmpty())
        return text().mid(selectionStart(), selectionLength());
    return withCrLf(m_edit->textCursor().selectedText());
}

std::optional<qsizetype> PlainTextLogView::find(QStringView word, qsizetype from,
                                                Qt::CaseSensitivity sensitivity) const
{
    // A word typed into a one-line box holds no line break, so it never matches across one
    // and searching the document line by line gives the same offsets as searching text().
    if (!m_softBreaks.isEmpty()) {
        // A match may run across a display-only break: search the joined text. Only views
        // that were sent overlong lines come here.
        return TextSearch::findForward(text(), word, from, sensitivity);
    }
    const auto hit = DocumentSearch::findForward(*m_edit->document(), word,
                                                 toDocumentPosition(from), sensitivity);
    return hit ? std::optional<qsizetype>(toViewOffset(*hit)) : std::nullopt;
}

void PlainTextLogView::insertAtCaret(const QString &text)
{
    if (text.isEmpty())
        return;
    // One insertText call for the whole piece: the document records one change, and the
    // plain-text layout only counts the new lines; nothing is laid out until it is painted.
    QTextCursor cursor = m_edit->textCursor();
    if (cursor.hasSelection() || !cursor.atEnd()) {
        // Never done by the program, which always appends; breaks after it just move on.
        const int block = cursor.blockNumber();
        const int before = m_edit->document()->blockCount();
        cursor.insertText(text, m_insertFormat);
        m_softBreaks.shiftAfter(block, m_edit->document()->blockCount() - before);
    } else {
        insertAtEnd(cursor, text);
    }
    m_edit->setTextCursor(cursor);
    m_edit->ensureCursorVisible();
}

void PlainTextLogView::insertAtEnd(QTextCursor &cursor, const QString &text)
{
    const QTextBlock last = m_edit->document()->lastBlock();
    cursor.insertText(m_softBreaks.split(text, last.length() - 1, last.blockNumber()),
                      m_insertFormat);
}

void PlainTextLogView::setBackgroundColor(const QColor &color)
{
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Base, color);
    m_edit->setPalette(palette);
}

void PlainTextLogView::setSelectionTextColor(const QColor &color)
{
    QTextCursor cursor = m_edit->textCursor();
    if (cursor.hasSelection()) {
        QTextCharFormat format;
        format.setForeground(color);
        cursor.mergeCharFormat(format);
        return;
    }
    // Kept here rather than in the cursor: moving the caret to the end before an append would
    // otherwise pick up the colour of the text already there.
    m_insertFormat.setForeground(color);
}

QFont PlainTextLogView::font() const
{
    return m_edit->font();
}

void PlainTextLogView::setFont(const QFont &font)
{
    m_edit->setFont(font);
}

void PlainTextLogView::setFocus()
{
    m_edit->setFocus();
}
