#pragma once

#include "DesktopEnvironment.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// The applications installed on the desktop, as their desktop entries describe them, and the
// user's default applications by MIME type (mimeapps.list). The panel's accessory buttons start
// what the desktop itself would start for a web page, a mail address, a folder, and so on.
class DesktopApplications
{
public:
    enum class Accessory {
        Calculator,
        TextEditor,
        Terminal,
        Browser,
        Mail,
        FileManager,
        MediaPlayer,
        CdPlayer,
        PhoneDialer
    };

    struct Application {
        QString id;   // desktop file ID ("org.gnome.Calculator.desktop")
        QString path; // the entry's file
        QString name;
        QString program; // full path of the program Exec names
        QStringList arguments;
        QStringList categories;
        QStringList mimeTypes;
        bool noDisplay = false;
        QStringList onlyShowIn;
        QStringList notShowIn;
    };

    // Reads every entry under the environment's data folders' "applications" (an ID found in an
    // earlier folder hides later ones). Entries that are hidden, not applications, meant for a
    // terminal, or whose program is not on the PATH are left out.
    explicit DesktopApplications(const DesktopEnvironment &environment);

    const QList<Application> &applications() const { return m_applications; }
    std::optional<Application> find(const QString &id) const;
    // The user's default for the type, else the first application declaring it.
    std::optional<Application> defaultFor(const QString &mimeType) const;
    // The first application shown on this desktop that has every one of the categories.
    std::optional<Application> withCategories(const QStringList &categories) const;
    // The MIME defaults first, then the categories of the accessory.
    std::optional<Application> accessory(Accessory which) const;

private:
    void readFolder(const QString &root, QSet<QString> &seen);
    void readDefaults();
    bool shownHere(const Application &application) const;

    DesktopEnvironment m_environment;
    QList<Application> m_applications;
    QList<std::pair<QString, QStringList>> m_defaults; // MIME type -> desktop IDs, in order
};
