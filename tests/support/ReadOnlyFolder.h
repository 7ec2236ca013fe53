#pragma once

#include <QFile>
#include <QString>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// A folder this process cannot change while the object lives: its write permissions go, and a
// process running as root (whose rights ignore permissions) gives up those rights in its
// effective set for the time being, so the folder refuses it as it refuses a user. Threads
// started meanwhile (jobs) inherit the lowered rights. Everything comes back at the end.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &folder)
        : m_folder(folder), m_permissions(QFile::permissions(folder))
    {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                          QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        m_lowered = setRights(false);
    }
    ~ReadOnlyFolder()
    {
        if (m_lowered)
            setRights(true);
        QFile::setPermissions(m_folder, m_permissions);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

private:
    // Lowers or raises CAP_DAC_OVERRIDE and CAP_FOWNER in the effective set; true when they
    // were there to lower.
    static bool setRights(bool raise)
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2] = {};
        if (syscall(SYS_capget, &header, data) != 0)
            return false;
        const __u32 rights = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_FOWNER);
        if (!raise && (data[0].effective & rights) == 0)
            return false;
        data[0].effective = raise ? (data[0].effective | (data[0].permitted & rights))
                                  : (data[0].effective & ~rights);
        return syscall(SYS_capset, &header, data) == 0;
    }

    QString m_folder;
    QFile::Permissions m_permissions;
    bool m_lowered = false;
};
