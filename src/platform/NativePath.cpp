#include "platform/NativePath.h"

#include <algorithm>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// A lone low surrogate from U+DC80 to U+DCFF stands for a byte; the same unit after a high
// surrogate is the second half of a character such as 📄 (U+1F4C4) or 𠂀 (U+20080).
bool isEscapeAt(QStringView path, qsizetype i)
{
    const char16_t unit = path[i].unicode();
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF
        && !(i > 0 && QChar::isHighSurrogate(path[i - 1].unicode()));
}

// Length of the valid UTF-8 sequence at the start of bytes, or 0 when there is none.
qsizetype validSequence(const unsigned char *in, qsizetype size)
{
    const unsigned char b = in[0];
    if (b < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        low = b == 0xE0 ? 0xA0 : 0x80;
        high = b == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (size < length || in[1] < low || in[1] > high)
        return 0;
    for (qsizetype k = 2; k < length; ++k) {
        if (in[k] < 0x80 || in[k] > 0xBF)
            return 0;
    }
    return length;
}

} // namespace

namespace NativePath {

QString fromBytes(QByteArrayView bytes)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    QString path;
    path.reserve(size);
    qsizetype runStart = 0; // the valid UTF-8 not yet decoded
    qsizetype i = 0;
    while (i < size) {
        if (const qsizetype length = validSequence(in + i, size - i)) {
            i += length;
            continue;
        }
        path += QString::fromUtf8(bytes.sliced(runStart, i - runStart));
        path += QChar(char16_t(kEscapeBase + in[i]));
        runStart = ++i;
    }
    path += QString::fromUtf8(bytes.sliced(runStart));
    return path;
}

QByteArray toBytes(QStringView path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !isEscapeAt(path, i))
            continue;
        bytes += path.sliced(runStart, i - runStart).toUtf8();
        if (i < path.size())
            bytes += char(path[i].unicode() - kEscapeBase);
        runStart = i + 1;
    }
    return bytes;
}

QString display(QStringView path)
{
    QString shown = path.toString();
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (isEscapeAt(path, i))
            shown[i] = QChar(0xFFFD);
    }
    return shown;
}

std::optional<QByteArray> systemBytes(QStringView path)
{
    QByteArray native = toBytes(path);
    if (native.isEmpty() || native.contains('\0'))
        return std::nullopt;
    return native;
}

FolderAndName splitFolder(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return {slash < 0 ? QByteArray(".") : path.left(std::max<qsizetype>(slash, 1)),
            path.mid(slash + 1)};
}

} // namespace NativePath
