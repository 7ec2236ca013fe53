#pragma once

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTest>

// Other programs that tests use to check the files this program writes: LibreOffice (reads
// them as their users will) and the PDF tools. Tests that need one skip where it is absent.
inline QString OfficeProgram()
{
    for (const char *name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

// Converts file with LibreOffice into outFolder as format ("txt", "pdf", "csv", "doc", ...);
// returns the converted file's path, or "" when the conversion failed. LibreOffice keeps its
// profile in a folder of the test's own, so runs never meet a user's settings or each other.
inline QString OfficeConvert(const QString &file, const QString &format, const QString &outFolder,
                             const QString &profile)
{
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start(OfficeProgram(), {QStringLiteral("-env:UserInstallation=file://") + profile,
                                   QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                   format, QStringLiteral("--outdir"), outFolder, file});
    if (!office.waitForFinished(180000) || office.exitCode() != 0)
        return QString();
    // "txt:Text (encoded):UTF8" names the file by its first part.
    const QString extension = format.section(u':', 0, 0);
    const QString converted =
        outFolder + u'/' + QFileInfo(file).completeBaseName() + u'.' + extension;
    return QFileInfo::exists(converted) ? converted : QString();
}

#define NUVELA_REQUIRE_OFFICE()                                                                    \
    if (OfficeProgram().isEmpty())                                                                 \
    QSKIP("LibreOffice (soffice) is not installed")
