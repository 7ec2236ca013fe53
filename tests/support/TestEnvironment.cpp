#include "TestEnvironment.h"

#include "AppState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

TestEnvironment::TestEnvironment()
    : m_dialogs(new ScriptedDialogs), m_platform(new RecordingPlatform)
{
    qputenv("NUVELA_PROGRAM_DIR", m_program.path().toUtf8());
    qputenv("NUVELA_USER_FILES", m_user.path().toUtf8());
    QDir(m_scratch.path()).mkpath(QStringLiteral("desktop"));
    QDir(m_scratch.path()).mkpath(QStringLiteral("documents"));
    m_platform->folders.insert(0, m_scratch.path() + QStringLiteral("/desktop"));
    m_platform->folders.insert(5, m_scratch.path() + QStringLiteral("/documents"));
    Dialogs::install(m_dialogs);
    Platform::install(m_platform);
    AppState::instance() = AppState();
}

TestEnvironment::~TestEnvironment()
{
    if (m_dialogs->pendingAnswers() > 0)
        QTest::qFail(qPrintable(QStringLiteral("%1 scripted dialog answer(s) were never asked for")
                                    .arg(m_dialogs->pendingAnswers())),
                     __FILE__, __LINE__);
    Dialogs::install(nullptr);
    Platform::install(nullptr);
    AppState::instance() = AppState();
    qunsetenv("NUVELA_PROGRAM_DIR");
    qunsetenv("NUVELA_USER_FILES");
}

QString TestEnvironment::writeFile(const QString &relativePath, const QByteArray &content) const
{
    const QString path = m_scratch.path() + '/' + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}
