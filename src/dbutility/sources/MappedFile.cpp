#include "MappedFile.h"

#ifdef Q_OS_UNIX
#include <sys/mman.h>
#include <unistd.h>
#else
#include <io.h>
#endif

namespace
{

// POSIX calls where there are: QFile::map warns about a file it has just grown itself.
bool setFileSize(QFile &file, qint64 size)
{
#ifdef Q_OS_UNIX
    return ::ftruncate(file.handle(), size) == 0;
#else
    return file.resize(size);
#endif
}

uchar *mapFile(QFile &file, qint64 size)
{
#ifdef Q_OS_UNIX
    const int protection = PROT_READ | (file.isWritable() ? PROT_WRITE : 0);
    void *mapped = ::mmap(nullptr, size_t(size), protection, MAP_SHARED, file.handle(), 0);
    return mapped == MAP_FAILED ? nullptr : static_cast<uchar *>(mapped);
#else
    return file.map(0, size);
#endif
}

void unmapFile(QFile &file, uchar *data, qint64 size)
{
#ifdef Q_OS_UNIX
    Q_UNUSED(file);
    ::munmap(data, size_t(size));
#else
    Q_UNUSED(size);
    file.unmap(data);
#endif
}

} // namespace

bool MappedFile::syncToDisk(int handle)
{
#ifdef Q_OS_UNIX
    return ::fsync(handle) == 0;
#else
    return ::_commit(handle) == 0;
#endif
}

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
        if (m_file.isWritable() && m_capacity != m_size && !setFileSize(m_file, m_size))
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
        unmapFile(m_file, m_data, m_capacity);
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
    m_data = mapFile(m_file, capacity);
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
        if (!setFileSize(m_file, capacity) || !remap(capacity, error)) {
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
    const bool synced = setFileSize(m_file, m_size) && syncToDisk(m_file.handle());
    if (!synced) {
        if (error)
            *error = QStringLiteral("Cannot write %1 to disk: %2")
                         .arg(m_file.fileName(), m_file.errorString());
        return false;
    }
    return remap(m_size, error);
}
