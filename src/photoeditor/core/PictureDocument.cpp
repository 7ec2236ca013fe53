#include "PictureDocument.h"

#include "WorkingFormat.h"

PictureDocument::PictureDocument(qint64 undoBudget) : m_history(undoBudget) {}

PictureFile::Loaded PictureDocument::open(const QString &path)
{
    const PictureFile::Loaded loaded = PictureFile::read(path);
    adopt(path, loaded);
    return loaded;
}

void PictureDocument::adopt(const QString &path, const PictureFile::Loaded &loaded)
{
    if (loaded.failure != PictureFile::Failure::None)
        return;
    m_image = loaded.image;
    m_editStart = QImage();
    m_path = path;
    m_profiles = loaded.profiles;
    m_history.clear();
}

void PictureDocument::setUntitled(const QImage &image)
{
    m_image = toWorkingFormat(image);
    m_editStart = QImage();
    m_path.clear();
    m_profiles = {};
    m_history.clear();
}

int PictureDocument::change(const QImage &after, const QString &what)
{
    const QImage before = m_image;
    m_image = toWorkingFormat(after);
    m_editStart = QImage();
    return before.isNull() ? 0 : m_history.record(before, what);
}

int PictureDocument::beginEdit(const QString &what)
{
    m_editStart = m_image;
    const int dropped = m_history.record(m_image, what);
    // Detach now, so the kept step is not the pixels drawn on next.
    m_image.detach();
    return dropped;
}

void PictureDocument::restoreEditStart()
{
    if (!m_editStart.isNull()) {
        m_image = m_editStart;
        m_image.detach();
    }
}

bool PictureDocument::undo(int *dropped)
{
    const QImage previous = m_history.undo(m_image, dropped);
    if (previous.isNull())
        return false;
    m_image = previous;
    m_editStart = QImage();
    return true;
}

bool PictureDocument::redo(int *dropped)
{
    const QImage next = m_history.redo(m_image, dropped);
    if (next.isNull())
        return false;
    m_image = next;
    m_editStart = QImage();
    return true;
}
