#pragma once

#include "platform/FileAccess.h"

#include <algorithm>
#include <cstring>

// One file of the given length made of a line repeated over and over, produced as it is read:
// a growth of gigabytes without the disk. Every path names it.
class GeneratedFileAccess : public FileAccess
{
public:
    GeneratedFileAccess(QByteArray line, qint64 length)
        : m_line(std::move(line))
        , m_length(length)
    {
    }
    bool exists(const QString &) const override { return true; }
    std::unique_ptr<OpenFile> openForReading(const QString &) const override
    {
        return std::make_unique<File>(m_line, m_length);
    }

private:
    class File : public OpenFile
    {
    public:
        File(const QByteArray &line, qint64 length)
            : m_line(line)
            , m_length(length)
        {
        }
        std::optional<qint64> length() const override { return m_length; }
        bool seek(qint64 offset) override
        {
            m_at = offset;
            return true;
        }
        std::optional<QByteArray> read(qint64 n) override
        {
            QByteArray bytes(qsizetype(std::clamp<qint64>(m_length - m_at, 0, n)),
                             Qt::Uninitialized);
            for (qsizetype done = 0; done < bytes.size();) {
                const qsizetype in = qsizetype(m_at % m_line.size());
                const qsizetype take = std::min(bytes.size() - done, m_line.size() - in);
                std::memcpy(bytes.data() + done, m_line.constData() + in, size_t(take));
                done += take;
                m_at += take;
            }
            return bytes;
        }
        std::optional<FileIdentity> identity() const override { return FileIdentity {1, 1}; }

    private:
        const QByteArray &m_line;
        qint64 m_length;
        qint64 m_at = 0;
    };

    QByteArray m_line;
    qint64 m_length;
};
