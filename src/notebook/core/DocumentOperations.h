#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

class Moduleshortcut;
class NotesCatalogue;

// The document commands of the notebook beside the tree's: the properties save (which may
// rename the file), rows added by hand, all rows removed, documents deleted, copies and
// shortcuts on the Desktop, and the way cleared for an export. Each asks what the program asks
// (through Dialogs, under the window's title) and keeps file and row in step; the window
// reloads the grid. No file is replaced without a question, and a replaced one goes to the
// trash first.
class DocumentOperations
{
public:
    // The fields of the properties panel.
    struct Properties {
        QString name; // LblDocName
        QString category;
        QString flags;
        QString version;
        bool current = false;
        QDate dueDate; // invalid: none
        QString type;
        QString author;
        QString serialNo; // a whole number, or empty
        QString progress;
    };

    // The fields of the add panel (Frame2).
    struct NewDocument {
        QString name; // txtnote
        QDate date;   // ssDate
        QString serialNo;
        QString category;
        QString type;
        QString path; // txtpath; may be empty
    };

    DocumentOperations(NotesCatalogue &catalogue, const QString &title);

    // CmdSave for the row id: the file takes the name (folder and extension kept, the
    // extension upper-cased) and the row the fields. A taken name keeps both files. Returns the
    // document's path afterwards, nothing when nothing was saved (a message says why).
    std::optional<QString> saveProperties(qint64 id, const Properties &fields);
    // The path a properties save gives oldPath for name: the old folder, the name, and the old
    // file name's text from its first "." upper-cased. A path that differs from oldPath only in
    // letter case is oldPath itself (the same file where names ignore case).
    static QString propertiesPath(const QString &oldPath, const QString &name);

    // SSCommand6: adds the row of fields with the add panel's colour after the checks
    // ("Please enter the Document Name", "This Document already exists"; a path must name an
    // existing file without a row). Plays Add.wav. False when nothing was added.
    bool addDocument(const NewDocument &fields);
    // CmdRemove: asks twice, then removes every row; the files stay. False when declined.
    bool removeAllLinks();
    // "ID_DelDoc": after one question, moves the files of paths to the trash and removes their
    // rows (a missing file loses its row only). Returns how many documents went.
    int deleteDocuments(const QStringList &paths);

    // The Desktop folder of the program (found at start-up, else the platform's).
    static QString desktopFolder();
    // CopytoDesktop, SavetoDesktop: writes bytes as name on the Desktop, asking before a file
    // there is replaced (the old one goes to the trash), then shows "Saved to Desktop". A
    // document that lives on the Desktop is not written over itself. Returns the file written.
    static QString saveToDesktop(const QString &name, const QByteArray &bytes,
                                 const QString &documentPath, const QString &title);
    // The same for a document shown as it is on disk (a list, a picture): a copy of its file.
    static QString copyToDesktop(const QString &path, const QString &title);
    // SendToDesktop: a shortcut named name to path on the Desktop through the shortcut module,
    // asking before a shortcut of that name is replaced. Returns the entry written, "".
    static QString sendToDesktop(const QString &path, const QString &name, Moduleshortcut &module,
                                 const QString &title);
    // An export about to write path: asks before an existing file is replaced unless the save
    // picker asked already, and moves the old file to the trash. True when path may be written.
    static bool clearWayFor(const QString &path, bool pickerAsked, const QString &title);

private:
    NotesCatalogue &m_catalogue;
    QString m_title;
};
