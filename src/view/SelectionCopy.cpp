#include "view/SelectionCopy.h"

#include "view/LogScrollView.h"

#include <new>

SelectionCopy::SelectionCopy(LogScrollView *view, ViewSelection range, bool withFileNames,
                             OriginNamer namer, qint64 pieceUnits)
    : m_view(view)
    , m_generation(view ? view->generation() : 0)
    , m_range(range)
    , m_withFileNames(withFileNames)
    , m_namer(std::move(namer))
    , m_pieceUnits(std::max<qint64>(pieceUnits, 2)) // a CR left over and its LF fit one
{
}

QString SelectionCopy::prefixOf(LineNo line) const
{
    return prefixOf(line, m_view->source().originOf(line));
}

QString SelectionCopy::prefixOf(LineNo, quint16 origin) const
{
    const std::optional<OriginMark> mark = m_namer && origin ? m_namer(origin) : std::nullopt;
    if (!mark)
        return QStringLiteral("\t");
    return QStringView(mark->path).sliced(mark->path.lastIndexOf(u'/') + 1) % u'\t';
}

QString SelectionCopy::withPrefixes(QStringView text, bool rangeStart, bool rangeEnd,
                                    Prefixes &prefixes) const
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    if (rangeStart)
        out += prefixes.text;
    for (qsizetype from = 0; from < text.size();) {
        const qsizetype lf = text.indexOf(u'\n', from);
        const qsizetype stop = lf < 0 ? text.size() : lf + 1;
        out += text.sliced(from, stop - from);
        from = stop;
        if (lf < 0 || (rangeEnd && from == text.size()))
            break;
        prefixes.line = prefixes.line + 1;
        const quint16 origin = m_view->source().originOf(prefixes.line);
        if (origin != prefixes.origin) {
            prefixes.origin = origin;
            prefixes.text = prefixOf(prefixes.line, origin);
        }
        out += prefixes.text;
    }
    return out;
}

qint64 SelectionCopy::prefixBytes(LineNo first, LineNo last) const
{
    qint64 bytes = 0;
    LineNo runStart = first;
    quint16 runOrigin = 0;
    const auto addRun = [&](LineNo next) {
        bytes += (next - runStart) * (prefixOf(runStart, runOrigin).toUtf8().size());
    };
    m_view->source().forEachOriginRun(first, last, [&](LineNo start, quint16 origin) {
        if (start > first)
            addRun(start);
        runStart = start;
        runOrigin = origin;
    });
    addRun(last + 1);
    return bytes;
}

ClipboardText::Outcome SelectionCopy::make(QByteArray &utf8, WorkProgress &progress) const
{
    utf8.clear();
    if (!m_view || m_view->generation() != m_generation)
        return Outcome::Gone;
    const TextSource &source = m_view->source();
    const qint64 start = m_range.start().value;
    const qint64 end = std::min(m_range.end().value, source.size());
    try {
        LineNo line = source.lineOf(StoreOffset(start));
        // All the room at once: growing a gigabyte by doubling would copy it and hold two.
        // Room reserved and never written is never taken from the system.
        qint64 room = source.bytesAtMost(StoreOffset(start), StoreOffset(end));
        if (m_withFileNames)
            room += prefixBytes(line, source.lineOf(StoreOffset(end)));
        utf8.reserve(room);
        Prefixes prefixes {line, m_withFileNames ? source.originOf(line) : quint16(0),
                           m_withFileNames ? prefixOf(line) : QString()};
        for (qint64 at = start; at < end;) {
            QString text = source.read(StoreOffset(at), std::min(m_pieceUnits, end - at)).text;
            if (text.isEmpty())
                break;
            const bool first = at == start;
            at += text.size();
            // The first half of a surrogate pair at a piece's end waits for its second.
            if (at < end && text.back().isHighSurrogate()) {
                text.chop(1);
                --at;
            }
            // Every line end in the store is CR LF, and the desktop's is LF; a CR that ends
            // the range is a line end of its own.
            if (at == end && text.endsWith(u'\r'))
                text.back() = u'\n';
            text.remove(u'\r');
            if (m_withFileNames)
                text = withPrefixes(text, first, at == end, prefixes);
            utf8 += text.toUtf8();
            if (!progress.update(at - start, end - start)) {
                utf8.clear();
                return Outcome::Cancelled;
            }
            if (m_view.isNull() || m_view->generation() != m_generation) {
                utf8.clear();
                return Outcome::Gone; // cleared while the events went on
            }
        }
    } catch (const std::bad_alloc &) {
        utf8 = QByteArray();
        return Outcome::NoMemory;
    }
    return Outcome::Made;
}
