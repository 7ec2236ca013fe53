#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

// Every message, question, prompt and picker the program shows goes through the one installed
// Dialogs, so that logic never opens a window itself and tests can answer in its place. Texts
// are passed as the program's own, unchanged. A picker that is cancelled answers a null string
// (or ok = false).
class Dialogs
{
public:
    enum class Icon { None, Information, Warning, Critical, Question };

    virtual ~Dialogs() = default;

    virtual void message(const QString &text, const QString &title = QString(),
                         Icon icon = Icon::Information) = 0;
    // A Yes/No question; true for Yes.
    virtual bool question(const QString &text, const QString &title = QString(),
                          Icon icon = Icon::Question) = 0;
    // One line of text; ok is false when the user cancelled.
    virtual QString inputText(const QString &prompt, const QString &title,
                              const QString &initial, bool *ok) = 0;
    // filter uses the "Caption|*.ext;*.ext2|Caption 2|*.x" form.
    virtual QString openFileName(const QString &title, const QString &folder,
                                 const QString &filter) = 0;
    virtual QString saveFileName(const QString &title, const QString &folder,
                                 const QString &filter) = 0;
    virtual QString folderName(const QString &title, const QString &folder) = 0;
    virtual QColor color(const QColor &initial, bool *ok) = 0;
    virtual QFont font(const QFont &initial, bool *ok) = 0;

    static Dialogs &instance();
    // Takes ownership; the previous one is deleted.
    static void install(Dialogs *dialogs);

    // Converts a "Caption|*.a;*.b|..." filter to Qt's "Caption (*.a *.b);;..." form.
    static QString qtFilter(const QString &filter);
};
