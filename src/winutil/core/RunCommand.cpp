#include "RunCommand.h"

#include "CommandLine.h"

#include <QDir>
#include <QFileInfo>

RunCommand RunCommand::resolve(const QString &text, const DesktopEnvironment &environment,
                               const QString &home)
{
    const std::optional<QStringList> words = CommandLine::split(text, home);
    if (!words)
        return {Kind::Unbalanced, {}, {}};
    if (words->isEmpty())
        return {};
    const QString first = words->first();
    QString program = first.contains('/') ? QString() : environment.findProgram(first);
    const QFileInfo path(QDir(home).absoluteFilePath(first));
    if (program.isEmpty() && first.contains('/') && path.isFile() && path.isExecutable())
        program = path.absoluteFilePath();
    if (!program.isEmpty())
        return {Kind::Start, program, words->mid(1)};
    // A folder or document opens with the desktop's application; it takes no arguments.
    if (words->size() == 1 && path.exists())
        return {Kind::Open, path.absoluteFilePath(), {}};
    return {Kind::NotFound, first, {}};
}
