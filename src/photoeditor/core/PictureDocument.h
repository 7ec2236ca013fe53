#pragma once

#include "ImagingEngine.h"
#include "PictureFile.h"
#include "UndoHistory.h"

#include <QImage>
#include <QString>

// The picture being edited: its pixels, the file it came from with that file's metadata, and
// the undo history. Every change goes through change() or beginEdit(), so each can be undone.
class PictureDocument
{
public:
    explicit PictureDocument(qint64 undoBudget = UndoHistory::DefaultBudget);

    // Opens path; on any failure the document stays as it was.
    PictureFile::Loaded open(const QString &path);
    // Takes a picture read from path (by a job); a failed read leaves the document as it was.
    void adopt(const QString &path, const PictureFile::Loaded &loaded);
    // A picture that comes from no file (a screen capture, a paste into an empty editor).
    void setUntitled(const QImage &image);
    // The document now belongs to path (after saving under a new name).
    void setPath(const QString &path) { m_path = path; }

    bool isEmpty() const { return m_image.isNull(); }
    const QImage &image() const { return m_image; }
    QString path() const { return m_path; }
    const PictureProfiles &profiles() const { return m_profiles; }

    // Replaces the picture after a change named what; returns the older undo steps dropped.
    int change(const QImage &after, const QString &what);
    // Starts a change made in place (drawing): keeps the undo step, then hands out the pixels.
    int beginEdit(const QString &what);
    QImage &pixels() { return m_image; }
    // Back to the picture as it was before the current edit began, edit still open (the text
    // tool redraws its text on that each time a key is typed).
    void restoreEditStart();

    bool undo(int *dropped = nullptr);
    bool redo(int *dropped = nullptr);
    const UndoHistory &history() const { return m_history; }

private:
    QImage m_image;
    QImage m_editStart;
    QString m_path;
    PictureProfiles m_profiles;
    UndoHistory m_history;
};
