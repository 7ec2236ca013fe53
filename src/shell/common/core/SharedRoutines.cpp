#include "SharedRoutines.h"

#include "AppFolders.h"
#include "Dialogs.h"
#include "Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSqlTableModel>

namespace {

qsizetype lastSeparator(const QString &path)
{
#ifdef Q_OS_WIN
    return std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
#else
    return path.lastIndexOf('/');
#endif
}

} // namespace

QString SoundCuePath(SoundCue cue)
{
    static const char *const names[] = {"Add.wav", "Cancel.wav", "Del.wav", "Edit.wav", "Save.wav"};
    return AppFolders::soundPath(QString::fromLatin1(names[int(cue)]));
}

void PlaySoundCue(const QString &path)
{
    Platform::instance().playSound(path);
}

void PlaySoundCue(SoundCue cue)
{
    PlaySoundCue(SoundCuePath(cue));
}

QString GetSpecialFolder(int folderNumber)
{
    return Platform::instance().specialFolder(folderNumber);
}

QString WindowsFolder()
{
    return Platform::instance().windowsFolder();
}

void ShowHelpFile(const QString &path)
{
    Platform::instance().showHelp(path);
}

bool RunProgram(const QString &path)
{
    return Platform::instance().startProgram(path);
}

QString FileNameOfPath(const QString &path)
{
    const qsizetype sep = lastSeparator(path);
    return sep < 0 ? path : path.mid(sep + 1);
}

QString FolderOfPath(const QString &path)
{
    const qsizetype sep = lastSeparator(path);
    return sep < 0 ? path : path.left(sep);
}

QString WildcardOf(const QString &name)
{
    const qsizetype dot = name.indexOf('.');
    return dot < 0 ? QString() : QStringLiteral("*.") + name.mid(dot + 1);
}

QString SiblingProgramPath(const QString &exeName)
{
    const QString exact = AppFolders::inProgramFolder(exeName);
    if (QFileInfo(exact).isFile())
        return exact;
    QString bare = exact;
    if (bare.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        bare.chop(4);
    return QFileInfo(bare).isFile() ? bare : QString();
}

QString FormatDate(const QDateTime &value, const QString &format)
{
    return QLocale::c().toString(value, format);
}

QString MainDateText(QDate date, bool national)
{
    return FormatDate(date.startOfDay(), national ? QStringLiteral("dd MMM-yyyy")
                                                  : QStringLiteral("MMM dd-yyyy"));
}

QString GridDateFormat(bool national)
{
    return national ? QStringLiteral("dd MMM-yy") : QStringLiteral("MMM dd-yy");
}

bool DeleteCurrentRecord(QSqlTableModel *model, int row)
{
    if (!model || model->rowCount() == 0 || row < 0 || row >= model->rowCount())
        return false;
    if (!Dialogs::instance().question(QStringLiteral("Delete the record ? "), QString(),
                                      Dialogs::Icon::Critical))
        return false;
    const bool removed = model->removeRow(row) && model->submitAll();
    model->select();
    return removed;
}
