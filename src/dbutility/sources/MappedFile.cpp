#include "MappedFile.h"

#include <sys/mman.h>
#include <unistd.h>

MappedFile::~MappedFile()
{
    close();
}

bool MappedFile::open(const QString &path, bool writable, QString *error)
{
    close();
    m_file.setFileName(path);
    if (!m_file.open(writable ? QIODevice::ReadWrite : QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open %1: %2").arg(path, m_file.errorString());
        return false;
    }
    m_size = m_file.size();
    if (!remap(m_size, error)) {
        m_file.close();
        return false;
    }
    return true;
}

void MappedFile::openBytes(const QByteArray &bytes)
{
    close();
    m_bytes = bytes.isNull() ? QByteArray("") : bytes;
    m_data = reinterpret_cast<uchar *>(m_bytes.data());
    m_size = m_capacity = m_bytes.size();
}

void MappedFile::close()
{
    if (m_file.isOpen()) {
        unmap();
        if (m_file.isWritable() && m_capacity != m_size &&
            ::ftruncate(m_file.handle(), m_size) != 0)
            qWarning("cannot cut %s back to its size", qPrintable(m_file.fileName()));
        m_file.close();
    }
    m_bytes = QByteArray();
    m_data = nullptr;
    m_size = m_capacity = 0;
}

void MappedFile::unmap()
{
    if (m_data && m_bytes.isNull() && m_capacity > 0)
        ::munmap(m_data, size_t(m_capacity));
    m_data = nullptr;
}

bool MappedFile::remap(qint64 capacity, QString *error)
{
    unmap();
    m_bytes = QByteArray();
    if (capacity == 0) {
        // An empty file cannot be mapped; point at an empty buffer so that isOpen() holds.
        m_bytes = QByteArray("");
        m_data = reinterpret_cast<uchar *>(m_bytes.data());
        m_capacity = 0;
        return true;
    }
    // POSIX mapping: QFile::map warns about a file it has just grown itself.
    const int protection = PROT_READ | (m_file.isWritable() ? PROT_WRITE : 0);
    void *mapped = ::mmap(nullptr, size_t(capacity), protection, MAP_SHARED, m_file.handle(), 0);
    m_data = mapped == MAP_FAILED ? nullptr : static_cast<uchar *>(mapped);
    if (!m_data) {
        if (error)
            *error =
                QStringLiteral("Cannot read %1: %2").arg(m_file.fileName(), m_file.errorString());
        m_size = m_capacity = 0;
        return false;
    }
    m_capacity = capacity;
    return true;
}

bool MappedFile::write(qint64 offset, const QByteArray &bytes, QString *error)
{
    if (!m_file.isOpen() || !m_file.isWritable()) {
        if (error)
            *error = QStringLiteral("%1 is not open for writing").arg(m_file.fileName());
        return false;
    }
    const qint64 end = offset + bytes.size();
    if (end > m_capacity) {
        const qint64 capacity = qMax(end, m_capacity + m_capacity / 2 + 4096);
        if (::ftruncate(m_file.handle(), capacity) != 0 || !remap(capacity, error)) {
            if (error && error->isEmpty())
                *error = QStringLiteral("Cannot write %1: %2")
                             .arg(m_file.fileName(), m_file.errorString());
            return false;
        }
    }
    memcpy(m_data + offset, bytes.constData(), size_t(bytes.size()));
    m_size = qMax(m_size, end);
    return true;
}

bool MappedFile::truncate(qint64 size, QString *error)
{
    if (size > m_capacity)
        return write(size - 1, QByteArray(1, '\0'), error);
    m_size = size;
    return true;
}

bool MappedFile::sync(QString *error)
{
    if (!m_file.isOpen() || !m_file.isWritable())
        return true;
    unmap();
    const bool sized = ::ftruncate(m_file.handle(), m_size) == 0;
    const bool synced = sized && ::fsync(m_file.handle()) == 0;
    if (!synced) {
        if (error)
            *error = QStringLiteral("Cannot write %1 to disk: %2")
                         .arg(m_file.fileName(), m_file.errorString());
        return false;
    }
    return remap(m_size, error);
}
