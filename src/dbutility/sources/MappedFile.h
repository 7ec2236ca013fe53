#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file read through a memory mapping (or, for data held in memory, a byte array), with
// writes at any offset that grow the file when needed. Readers take data()/size() again
// after a write: a growing write may remap the file. A writable file is cut to size() by
// sync() and close().
class MappedFile
{
public:
    MappedFile() = default;
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;
    ~MappedFile();

    bool open(const QString &path, bool writable, QString *error);
    // Read-only view of bytes held in memory (no file).
    void openBytes(const QByteArray &bytes);
    void close();

    bool isOpen() const { return m_data != nullptr || !m_bytes.isNull(); }
    QString fileName() const { return m_file.fileName(); }
    const uchar *data() const { return m_data; }
    qint64 size() const { return m_size; }

    bool write(qint64 offset, const QByteArray &bytes, QString *error);
    bool truncate(qint64 size, QString *error);
    // Puts the written bytes on the disk before a rename makes them the file.
    bool sync(QString *error);
    // The same for any open file descriptor.
    static bool syncToDisk(int handle);

private:
    bool remap(qint64 capacity, QString *error);
    void unmap();

    QFile m_file;
    QByteArray m_bytes;
    uchar *m_data = nullptr;
    qint64 m_size = 0;     // the file's contents
    qint64 m_capacity = 0; // bytes mapped; a writable file grows in steps and is cut back on sync
};
