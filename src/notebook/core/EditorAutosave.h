#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// Copies of documents being edited, kept while they have unsaved changes, so that a crash or a
// power cut loses little: the editors write one now and then and remove it when the document is
// saved or its changes are given up. A copy still there when the program starts was left by a
// program that ended without closing its editor; the editor offers it back.
//
// The copies live in the program folder's "Autosave" folder, one file per document named by a
// hash of its path: a first line "NuvelaAutosave", a tab, "1", a tab and the document's path
// (UTF-8), then the document's rich text.
class EditorAutosave
{
public:
    struct Copy {
        QString documentPath;
        QString file; // the copy itself
        QDateTime saved;
    };

    static QString folder();
    // Writes (replaces) the copy of documentPath; false when it cannot be written.
    static bool save(const QString &documentPath, const QByteArray &rtf);
    static void discard(const QString &documentPath);
    static bool exists(const QString &documentPath);
    // The rich text kept for documentPath; empty when none.
    static QByteArray restore(const QString &documentPath);
    // Every copy there is, oldest first; files that are not copies are passed over.
    static QList<Copy> pending();

private:
    static QString fileOf(const QString &documentPath);
};
