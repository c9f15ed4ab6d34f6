#pragma once

#include "platform/FileAccess.h"

#include <algorithm>
#include <cstring>

// One file, whatever the path: length bytes of a line repeated, made as they are read, so a
// test can grow a file by gigabytes without the disk. While gone is set, the name leads to no
// regular file.
class GeneratedFileAccess : public FileAccess
{
public:
    GeneratedFileAccess(QByteArray line, qint64 length)
        : m_line(std::move(line))
        , m_length(length)
    {
    }
    bool exists(const QString &) const override { return !gone; }
    std::unique_ptr<OpenFile> openForReading(const QString &) const override
    {
        return gone ? nullptr : std::make_unique<File>(*this);
    }
    bool nameIsGone(const QString &) const override { return gone; }
    void setLength(qint64 length) { m_length = length; }

    bool gone = false;

private:
    struct File : OpenFile
    {
        explicit File(const GeneratedFileAccess &files)
            : m_files(files)
        {
        }
        std::optional<qint64> length() const override { return m_files.m_length; }
        bool seek(qint64 offset) override { return (m_at = offset) >= 0; }
        bool read(qint64 n, QByteArray &bytes) override
        {
            const QByteArray &line = m_files.m_line;
            bytes.resize(qsizetype(std::clamp<qint64>(m_files.m_length - m_at, 0, n)));
            for (qsizetype done = 0, take = 0; done < bytes.size(); done += take, m_at += take) {
                const qsizetype in = qsizetype(m_at % line.size());
                take = std::min(bytes.size() - done, line.size() - in);
                std::memcpy(bytes.data() + done, line.constData() + in, size_t(take));
            }
            return true;
        }
        std::optional<FileIdentity> identity() const override { return FileIdentity {1, 1}; }

        const GeneratedFileAccess &m_files;
        qint64 m_at = 0;
    };

    QByteArray m_line;
    qint64 m_length;
};
