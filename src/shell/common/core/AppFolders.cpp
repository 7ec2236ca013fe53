#include "AppFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString fromEnv(const char *name)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString() : QDir::cleanPath(value);
}

} // namespace

QString AppFolders::programFolder()
{
    if (QString env = fromEnv("NUVELA_PROGRAM_DIR"); !env.isEmpty())
        return env;
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty()
        && (QFileInfo::exists(exeDir + "/nuveladata.dll") || QFileInfo(exeDir).isWritable()))
        return exeDir;
    const QString data = QDir::cleanPath(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/nuvela");
    QDir().mkpath(data);
    return data;
}

QString AppFolders::userFilesRoot()
{
    if (QString env = fromEnv("NUVELA_USER_FILES"); !env.isEmpty())
        return env;
#ifdef Q_OS_WIN
    return QStringLiteral("C:/NVUserFiles");
#else
    return QDir::homePath() + "/NVUserFiles";
#endif
}

QString AppFolders::join(const QString &root, const QString &relative)
{
    QString rel = relative;
    rel.replace('\\', '/');
    while (rel.startsWith('/'))
        rel.remove(0, 1);
    const bool trailing = rel.endsWith('/');
    QString joined = QDir::cleanPath(root + '/' + rel);
    if (trailing)
        joined += '/';
    return QDir::toNativeSeparators(joined);
}

QString AppFolders::inProgramFolder(const QString &relative)
{
    const QString path = join(programFolder(), relative);
    if (QFileInfo::exists(path))
        return path;
    // An installed program keeps its resources beside the executable, its stores elsewhere.
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString installed = exeDir.isEmpty() ? QString() : join(exeDir, relative);
    return !installed.isEmpty() && QFileInfo::exists(installed) ? installed : path;
}

QString AppFolders::inUserFiles(const QString &relative)
{
    return join(userFilesRoot(), relative);
}

QString AppFolders::dataStorePath()
{
    return join(programFolder(), QStringLiteral("nuveladata.dll"));
}

QString AppFolders::infoStorePath()
{
    return join(programFolder(), QStringLiteral("nuvelainfo.dll"));
}

QString AppFolders::helpFilePath()
{
    return inProgramFolder("UserFiles/help/NuvelaHelp.html");
}

QString AppFolders::soundPath(const QString &waveName)
{
    return inProgramFolder("UserFiles/Misc/sound/" + waveName);
}

void AppFolders::ensureUserFolders()
{
    static const char *const folders[] = {
        "Exported Files/rtf", "Exported Files/RTF", "Exported Files/Html", "Exported Files/Excel",
        "Exported Files/PDF", "Exported Files/TableHtml", "Exported Files/Money", "Photos",
        "Music", "Letters", "Notes Diary", "HandHelds", "Main", "Others", "Rename Folder",
        "NoteBook/List"};
    QDir root(userFilesRoot());
    for (const char *folder : folders)
        root.mkpath(QString::fromUtf8(folder));
}
