#pragma once

#include "platform/LogView.h"
#include "view/store/UnitCoding.h"

// A view that keeps no text: it counts what it is given, as the log view's store would take it,
// so the reading path can be measured and tested on its own. With keepText it keeps the text
// too (to run out of memory the way a view does).
class CountingLogView : public LogView
{
public:
    qsizetype textLength() const override { return m_length; }
    QString text() const override { return m_text; }
    void setText(const QString &text) override
    {
        m_text = keepText ? text : QString();
        m_length = text.size();
        m_caret = m_length;
    }
    qsizetype caret() const override { return m_caret; }
    void setCaret(qsizetype position) override { m_caret = qBound(0, position, m_length); }
    qsizetype selectionStart() const override { return m_caret; }
    qsizetype selectionLength() const override { return 0; }
    void select(qsizetype start, qsizetype) override { setCaret(start); }
    QString selectedText() const override { return {}; }
    std::shared_ptr<const ClipboardText> selectionForCopy(bool) const override { return nullptr; }
    std::optional<qsizetype> find(QStringView, qsizetype, Qt::CaseSensitivity) const override
    {
        return std::nullopt;
    }
    std::optional<qsizetype> findBackward(QStringView, qsizetype,
                                          Qt::CaseSensitivity) const override
    {
        return std::nullopt;
    }
    void showMatches(const QString &, Qt::CaseSensitivity, MatchCountReport) override { }
    void insertAtCaret(const QString &text, quint16 = 0) override
    {
        if (keepText)
            m_text += text;
        m_length += text.size();
        m_caret = m_length;
        lineBreaks += text.count(QLatin1Char('\n'));
        ++insertions;
    }
    void insertEncodedAtCaret(QByteArrayView storeBytes, quint16 origin) override
    {
        appendEncodedKeepingPlace(storeBytes, origin);
        m_caret = m_length;
    }
    void appendEncodedKeepingPlace(QByteArrayView storeBytes, quint16) override
    {
        if (keepText)
            UnitCoding::decodeAppend(storeBytes, m_text);
        m_length += UnitCoding::unitsIn(storeBytes);
        lineBreaks += storeBytes.count('\n');
        ++insertions;
    }
    void setBackgroundColor(const QColor &) override { }
    void setSelectionTextColor(const QColor &) override { }
    QFont font() const override { return {}; }
    void setFont(const QFont &) override { }
    void setFocus() override { }

    bool keepText = false;
    qsizetype lineBreaks = 0;
    int insertions = 0;

private:
    QString m_text;
    qsizetype m_length = 0;
    qsizetype m_caret = 0;
};
