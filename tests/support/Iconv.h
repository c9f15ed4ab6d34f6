#pragma once

#include <QByteArray>

#include <iconv.h>

// glibc's converters: the decoding tests' oracle, an implementation independent of ours.
class Iconv
{
public:
    Iconv(const char *to, const char *from)
        : m_cd(iconv_open(to, from))
    {
    }
    ~Iconv()
    {
        if (isOpen())
            iconv_close(m_cd);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;
    bool isOpen() const { return m_cd != iconv_t(-1); }

    // The bytes converted whole, or nothing when iconv refuses any of them.
    QByteArray convert(QByteArrayView bytes)
    {
        if (!isOpen())
            return {};
        QByteArray in = bytes.toByteArray();
        QByteArray out(in.size() * 4 + 16, Qt::Uninitialized);
        char *inPtr = in.data();
        char *outPtr = out.data();
        size_t inLeft = size_t(in.size());
        size_t outLeft = size_t(out.size());
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0)
            return {};
        out.truncate(out.size() - qsizetype(outLeft));
        return out;
    }

private:
    iconv_t m_cd;
};
