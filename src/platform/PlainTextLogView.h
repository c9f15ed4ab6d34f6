#pragma once

#include "platform/LogView.h"
#include "platform/SoftBreaks.h"

#include <QPointer>
#include <QTextCharFormat>

class QPlainTextEdit;
class QWidget;

// The log view on the desktop: a QPlainTextEdit that shows text as it stands (a line holding
// "<b>" or "{\rtf1" is shown literally), cannot be typed into but can be selected with mouse
// and keyboard (Ctrl+A, Shift+arrows), keeps no undo history and never wraps lines.
//
// The document stores paragraphs; this class translates its positions to the CR LF counting
// of LogView. Mapping an offset costs O(log^2 n) in the number of lines and the length is
// O(1), so the per-read checks of the appender stay cheap however long the log grows.
// Each insertion is one insertText call on the document, and only visible lines are laid out.
//
// Text colour: with nothing selected, setSelectionTextColor() sets the colour of every text
// inserted from then on, wherever the caret is moved to in between.
//
// The widget is created with the given parent and deleted with this object if it still exists;
// the main window puts widget() into its layout.
class PlainTextLogView : public LogView
{
public:
    explicit PlainTextLogView(QWidget *parent = nullptr);
    ~PlainTextLogView() override;
    PlainTextLogView(const PlainTextLogView &) = delete;
    PlainTextLogView &operator=(const PlainTextLogView &) = delete;

    QPlainTextEdit *widget() const;

    qsizetype textLength() const override;
    QString text() const override;
    void setText(const QString &text) override;

    qsizetype caret() const override;
    void setCaret(qsizetype position) override;
    qsizetype selectionStart() const override;
    qsizetype selectionLength() const override;
    void select(qsizetype start, qsizetype length) override;
    QString selectedText() const override;
    std::optional<qsizetype> find(QStringView word, qsizetype from,
                                  Qt::CaseSensitivity sensitivity) const override;

    void insertAtCaret(const QString &text) override;

    void setBackgroundColor(const QColor &color) override;
    void setSelectionTextColor(const QColor &color) override;

    QFont font() const override;
    void setFont(const QFont &font) override;
    void setFocus() override;

private:
    // Document position (paragraph separators count one) to view offset (CR LF counts two).
    qsizetype toViewOffset(int documentPosition) const;
    int toDocumentPosition(qsizetype viewOffset) const;
    static QString withCrLf(QString documentText);
    // Where line starts lie in the view's offsets: block position, plus one for every real
    // line end before it (CR LF is two characters), less one for every display-only break.
    qsizetype viewStartOf(int blockNumber, int blockPosition) const;
    void insertAtEnd(QTextCursor &cursor, const QString &text);

    QPointer<QPlainTextEdit> m_edit;
    QTextCharFormat m_insertFormat;
    SoftBreaks m_softBreaks;
};
