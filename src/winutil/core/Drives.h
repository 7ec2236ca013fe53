#pragma once

#include <QList>
#include <QString>

#include <functional>

// The mounted volumes that hold a real device: the panel's drive list, the disk tools' test for
// removable media, and the "My Computer" folder.
class Drives
{
public:
    struct Drive {
        QString rootPath; // mount point
        QString name;     // label, or the mount point
        QString device;   // "/dev/sdb1"
        bool removable = false;
        bool ready = false; // mounted and readable
    };

    // Volumes with a /dev device (loop devices of packaged applications left out), the root
    // first.
    static QList<Drive> list();

    // Replaces the mounted volumes list() reports (tests describe drives of their own); an
    // empty function restores the real ones.
    static void install(std::function<QList<Drive>()> source);

    // Removable media: the block device (or the disk a partition belongs to) says so in sysfs,
    // or the desktop mounted it under /media or /run/media, as it does for plugged-in media.
    // sysRoot is where sysfs is mounted (tests give a fake one).
    static bool isRemovable(const QString &device, const QString &rootPath,
                            const QString &sysRoot = QStringLiteral("/sys"));
};
