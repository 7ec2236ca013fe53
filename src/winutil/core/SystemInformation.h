#pragma once

#include "DesktopEnvironment.h"

#include <QList>
#include <QString>

#include <optional>
#include <utility>

// What a user asks about this computer: the operating system and kernel, the desktop, the
// processor, memory, disks with their free space, and the screens. Gathered on demand; nothing
// is kept.
class SystemInformation
{
public:
    struct Section {
        QString title;
        QList<std::pair<QString, QString>> rows; // label, value
    };

    struct Memory {
        qint64 total = 0;     // bytes
        qint64 available = 0; // bytes
    };

    // Reads the processor and memory from procRoot ("/proc"; tests give a fake one).
    static QList<Section> gather(const DesktopEnvironment &environment,
                                 const QString &procRoot = QStringLiteral("/proc"));
    // Plain text of the sections, for the clipboard: a title line, then "label: value" lines.
    static QString text(const QList<Section> &sections);

    // The first "model name" of /proc/cpuinfo (some processors say "Processor" or
    // "cpu model"); "" when none.
    static QString processorModel(const QByteArray &cpuinfo);
    // MemTotal and MemAvailable of /proc/meminfo (kB there); nullopt without MemTotal.
    static std::optional<Memory> memory(const QByteArray &meminfo);
    // "12.3 GB" in the units a file manager shows (powers of 1024).
    static QString sizeText(qint64 bytes);

private:
    static Section system(const DesktopEnvironment &environment);
    static Section processor(const QString &procRoot);
    static Section memorySection(const QString &procRoot);
    static Section disks();
    static Section screens();
};
