#include "SystemInformation.h"

#include "Drives.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QProcessEnvironment>
#include <QScreen>
#include <QStorageInfo>
#include <QSysInfo>
#include <QThread>

namespace
{

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QList<SystemInformation::Section> SystemInformation::gather(const DesktopEnvironment &environment,
                                                            const QString &procRoot)
{
    return {system(environment), processor(procRoot), memorySection(procRoot), disks(), screens()};
}

SystemInformation::Section SystemInformation::system(const DesktopEnvironment &environment)
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString desktop = environment.desktopNames().join(':');
    if (desktop.isEmpty())
        desktop = QStringLiteral("(none)");
    const QString session = env.value(QStringLiteral("XDG_SESSION_TYPE"));
    QString kernel = QSysInfo::kernelType();
    if (!kernel.isEmpty())
        kernel[0] = kernel.at(0).toUpper();
    const QString user = env.value(QStringLiteral("USER"), env.value(QStringLiteral("LOGNAME")));
    if (!session.isEmpty())
        desktop += QStringLiteral(" (%1)").arg(session);
    return {QStringLiteral("System"),
            {{QStringLiteral("Operating system"), QSysInfo::prettyProductName()},
             {QStringLiteral("Kernel"), kernel + ' ' + QSysInfo::kernelVersion()},
             {QStringLiteral("Desktop"), desktop},
             {QStringLiteral("Computer name"), QSysInfo::machineHostName()},
             {QStringLiteral("User"), user.isEmpty() ? QDir::home().dirName() : user}}};
}

SystemInformation::Section SystemInformation::processor(const QString &procRoot)
{
    QString model = processorModel(readFile(procRoot + QStringLiteral("/cpuinfo")));
    if (model.isEmpty())
        model = QStringLiteral("(unknown)");
    return {QStringLiteral("Processor"),
            {{QStringLiteral("Model"), model},
             {QStringLiteral("Architecture"), QSysInfo::currentCpuArchitecture()},
             {QStringLiteral("Logical processors"), QString::number(QThread::idealThreadCount())}}};
}

SystemInformation::Section SystemInformation::memorySection(const QString &procRoot)
{
    Section section{QStringLiteral("Memory"), {}};
    if (const auto m = memory(readFile(procRoot + QStringLiteral("/meminfo")))) {
        section.rows.append({QStringLiteral("Total"), sizeText(m->total)});
        section.rows.append({QStringLiteral("Available"), sizeText(m->available)});
    } else {
        section.rows.append({QStringLiteral("Total"), QStringLiteral("(unknown)")});
    }
    return section;
}

SystemInformation::Section SystemInformation::disks()
{
    Section section{QStringLiteral("Disks"), {}};
    for (const Drives::Drive &drive : Drives::list()) {
        const QStorageInfo volume(drive.rootPath);
        const QString value =
            drive.ready ? QStringLiteral("%1 free of %2 (%3, %4%5)")
                              .arg(sizeText(volume.bytesAvailable()), sizeText(volume.bytesTotal()),
                                   QString::fromLatin1(volume.fileSystemType()), drive.device,
                                   drive.removable ? QStringLiteral(", removable") : QString())
                        : QStringLiteral("not ready (%1)").arg(drive.device);
        section.rows.append({drive.rootPath, value});
    }
    return section;
}

SystemInformation::Section SystemInformation::screens()
{
    Section section{QStringLiteral("Screens"), {}};
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return section;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QSize size = screen->size();
        const qreal ratio = screen->devicePixelRatio();
        section.rows.append(
            {screen->name().isEmpty() ? QStringLiteral("Screen") : screen->name(),
             QStringLiteral("%1 x %2 pixels, %3 bits, %4 Hz, %5 dpi%6")
                 .arg(qRound(size.width() * ratio))
                 .arg(qRound(size.height() * ratio))
                 .arg(screen->depth())
                 .arg(qRound(screen->refreshRate()))
                 .arg(qRound(screen->physicalDotsPerInch()))
                 .arg(screen == QGuiApplication::primaryScreen() ? QStringLiteral(", primary")
                                                                 : QString())});
    }
    return section;
}

QString SystemInformation::text(const QList<Section> &sections)
{
    QString out;
    for (const Section &section : sections) {
        if (!out.isEmpty())
            out += '\n';
        out += section.title + '\n';
        for (const auto &[label, value] : section.rows)
            out += QStringLiteral("  %1: %2\n").arg(label, value);
    }
    return out;
}

QString SystemInformation::processorModel(const QByteArray &cpuinfo)
{
    static const QByteArrayList keys = {"model name", "Processor", "cpu model", "cpu"};
    for (const QByteArray &key : keys) {
        for (const QByteArray &line : cpuinfo.split('\n')) {
            const qsizetype colon = line.indexOf(':');
            if (colon > 0 && line.left(colon).trimmed() == key) {
                const QByteArray value = line.mid(colon + 1).trimmed();
                if (!value.isEmpty())
                    return QString::fromUtf8(value).simplified();
            }
        }
    }
    return {};
}

std::optional<SystemInformation::Memory> SystemInformation::memory(const QByteArray &meminfo)
{
    std::optional<qint64> total, available, free;
    for (const QByteArray &line : meminfo.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray key = line.left(colon).trimmed();
        const QList<QByteArray> parts = line.mid(colon + 1).simplified().split(' ');
        bool ok = false;
        const qint64 kib = parts.value(0).toLongLong(&ok);
        if (!ok)
            continue;
        if (key == "MemTotal")
            total = kib * 1024;
        else if (key == "MemAvailable")
            available = kib * 1024;
        else if (key == "MemFree")
            free = kib * 1024;
    }
    if (!total)
        return std::nullopt;
    // Kernels before 3.14 have no MemAvailable; free memory is the nearest they say.
    return Memory{*total, available.value_or(free.value_or(0))};
}

QString SystemInformation::sizeText(qint64 bytes)
{
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}
