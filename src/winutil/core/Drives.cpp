#include "Drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace
{

bool sysFlag(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll().trimmed() == "1";
}

std::function<QList<Drives::Drive>()> &source()
{
    static std::function<QList<Drives::Drive>()> installed;
    return installed;
}

} // namespace

void Drives::install(std::function<QList<Drive>()> drives)
{
    source() = std::move(drives);
}

QList<Drives::Drive> Drives::list()
{
    if (source())
        return source()();
    QList<Drive> drives;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString device = QString::fromLocal8Bit(volume.device());
        if (!device.startsWith(QLatin1String("/dev/")) ||
            device.startsWith(QLatin1String("/dev/loop")))
            continue;
        Drive drive;
        drive.rootPath = volume.rootPath();
        drive.name = volume.isRoot()           ? QStringLiteral("File System")
                     : volume.name().isEmpty() ? volume.rootPath()
                                               : volume.name();
        drive.device = device;
        drive.removable = isRemovable(device, drive.rootPath);
        drive.ready = volume.isValid() && volume.isReady();
        if (volume.isRoot())
            drives.prepend(drive);
        else
            drives.append(drive);
    }
    return drives;
}

bool Drives::isRemovable(const QString &device, const QString &rootPath, const QString &sysRoot)
{
    if (rootPath.startsWith(QLatin1String("/media/")) ||
        rootPath.startsWith(QLatin1String("/run/media/")))
        return true;
    // Device links (/dev/disk/by-uuid/...) name the device they point to.
    const QString canonicalDevice = QFileInfo(device).canonicalFilePath();
    const QString name = QFileInfo(canonicalDevice.isEmpty() ? device : canonicalDevice).fileName();
    if (name.isEmpty())
        return false;
    const QString block = sysRoot + QStringLiteral("/class/block/") + name;
    if (QFileInfo::exists(block + QStringLiteral("/removable")))
        return sysFlag(block + QStringLiteral("/removable"));
    // A partition: its disk is the folder above it in the device tree.
    const QString canonical = QFileInfo(block).canonicalFilePath();
    if (canonical.isEmpty() || !QFileInfo::exists(block + QStringLiteral("/partition")))
        return false;
    return sysFlag(QFileInfo(canonical).path() + QStringLiteral("/removable"));
}
