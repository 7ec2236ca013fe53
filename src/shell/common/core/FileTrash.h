#pragma once

#include <QString>

// Files and folders leave through the freedesktop trash, so that nothing is destroyed without a
// way back. Where no trash can take an entry (a file system without one, a trash that cannot
// be made), the user is asked before it is removed for good.
class FileTrash
{
public:
    enum class Result {
        Trashed, // in the trash
        Removed, // removed for good, as the user agreed
        Kept,    // the user declined removing it for good: nothing changed
        Failed   // nothing changed; error says why
    };

    // Moves path (a file, a link or a folder with its contents) to the trash. When the trash
    // refuses it, asks (through Dialogs, title as given) whether to remove it for good and does
    // so on Yes. A missing entry or a folder whose entries cannot be changed fails at once,
    // without a question.
    static Result discard(const QString &path, const QString &title, QString *error = nullptr);
    // The trash alone: false (error set) when it refuses.
    static bool moveToTrash(const QString &path, QString *error = nullptr);
    // Removes path for good (a folder with everything in it); false when anything stays.
    static bool removeForGood(const QString &path, QString *error = nullptr);

    // The second question, asked when the trash refuses path.
    static QString noTrashQuestion(const QString &path);
};
