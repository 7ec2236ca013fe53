#pragma once

#include "FailureSummary.h"
#include "FolderTree.h"

#include <QString>

#include <functional>

class Job;
class NotesCatalogue;

// The commands of the notebook's file-system tree (tvwdb) on the disk and in the catalogue:
// new folder, rename, delete, and copy, cut and paste of a file or a folder. Each asks what
// the program asks (through Dialogs, under the window's title), changes the disk, keeps the
// catalogue's rows in step and returns what changed; the window reloads the tree and the grid.
//
// Beyond the old program: nothing is destroyed without a way back (a delete goes to the
// trash, a file that a paste replaces goes there first), a rename onto a taken name keeps both
// files, rows under a renamed, moved or deleted folder follow it, and whatever fails is told in
// one summary that names each file and the reason.
class TreeOperations
{
public:
    // Runs a long job (copies, moves) and returns false when it was cancelled; the window
    // shows it with JobRunner, tests run it here and now.
    using JobRun = std::function<bool(Job &job, const QString &title)>;

    enum class Mode { Copy, Cut };

    TreeOperations(NotesCatalogue &catalogue, const QString &title, JobRun run = {});

    // "ID_NewFolder": asks "Enter New Folder To Create" and makes the folder in parent. Returns
    // its path, "" when cancelled, refused ("Name already exits") or failed.
    QString newFolder(const QString &parent);
    // "ID_Rename", "EditFolder": asks for the new name of the node (path, tag, caption); a file
    // named without "." gets ".rtf" when the old name ends in RTF (any case), else ".xls".
    // Returns the new path, "" when nothing was renamed. Never for the root.
    QString rename(const QString &path, FolderTree::Tag tag, const QString &caption);
    // "ID_Delete": asks, moves the file or folder to the trash and removes the rows of what it
    // held; plays Del.wav. False when nothing was deleted. Never for the root.
    bool remove(const QString &path, FolderTree::Tag tag);

    // "ID_Copy", "ID_Cut": remembers path until the next copy or cut (or a cut's paste).
    void setClipboard(const QString &path, Mode mode);
    QString clipboardPath() const { return m_clipboard; }
    Mode clipboardMode() const { return m_mode; }
    // "ID_Paste" into the folder target: asks before a file or folder of the name there is
    // overwritten, copies or moves, and copies (or moves) the rows. Returns the pasted path,
    // "" when nothing was pasted.
    QString paste(const QString &target);

    // The name rules of a rename: the typed name of a file completed with its extension.
    static QString completedFileName(const QString &oldPath, const QString &typed);

private:
    bool runJob(Job &job, const QString &title);
    // A typed name checked against the entries of folder: "" (with the message shown) when it
    // is empty, not a plain name or, by CheckDuplicate, taken.
    QString checkedName(const QString &typed, const QString &folder, const QString &takenText);
    QString pasteFolder(const QString &source, QString target);
    QString pasteFile(const QString &source, QString target);
    // Ends an operation: shows the summary of what failed, if anything did.
    void report(const QString &heading);

    NotesCatalogue &m_catalogue;
    QString m_title;
    JobRun m_run;
    QString m_clipboard;
    Mode m_mode = Mode::Copy;
    FailureSummary m_failures;
};
