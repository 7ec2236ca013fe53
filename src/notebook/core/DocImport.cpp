#include "DocImport.h"

#include "DocumentText.h"

#include <QFileInfo>
#include <QProcess>

namespace
{

QString &programName()
{
    static QString name = QStringLiteral("antiword");
    return name;
}

} // namespace

QString DocImport::program()
{
    return programName();
}

void DocImport::setProgram(const QString &program)
{
    programName() = program;
}

DocImport::Result DocImport::read(const QString &path)
{
    Result result;
    if (!QFileInfo(path).isReadable()) {
        result.readable = false;
        return result;
    }
    QProcess antiword;
    // UTF-8 out, paragraphs on one line each (the editor wraps them itself).
    antiword.start(program(), {QStringLiteral("-m"), QStringLiteral("UTF-8.txt"),
                               QStringLiteral("-w"), QStringLiteral("0"), path});
    if (antiword.waitForStarted(TimeoutMs) && antiword.waitForFinished(TimeoutMs) &&
        antiword.exitStatus() == QProcess::NormalExit && antiword.exitCode() == 0) {
        QString text = QString::fromUtf8(antiword.readAllStandardOutput());
        // antiword puts a blank line before the text and line feeds after it.
        qsizetype start = 0;
        while (start < text.size() && text[start] == u'\n')
            ++start;
        qsizetype end = text.size();
        while (end > start && text[end - 1] == u'\n')
            --end;
        result.text = text.mid(start, end - start);
        return result;
    }
    if (antiword.state() != QProcess::NotRunning) {
        antiword.kill();
        antiword.waitForFinished(1000);
    }
    bool ok = false;
    result.text = DocumentText::readPlainFile(path, &ok);
    result.readable = ok;
    result.fromRawBytes = true;
    return result;
}
