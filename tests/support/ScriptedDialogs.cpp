#include "ScriptedDialogs.h"

#include <QColor>
#include <QTest>

QStringList ScriptedDialogs::messages() const
{
    QStringList texts;
    for (const Shown &s : m_shown) {
        if (s.kind == QLatin1String("message"))
            texts << s.text;
    }
    return texts;
}

void ScriptedDialogs::clear()
{
    m_answers.clear();
    m_shown.clear();
    m_unexpected.clear();
}

QVariant ScriptedDialogs::take(const QString &kind, const QString &text, const QString &title,
                               Icon icon, const QString &folder)
{
    m_shown.append({kind, text, title, icon, folder});
    if (m_answers.isEmpty()) {
        // Answered No/cancel so the code under test goes on, and the test fails here.
        m_unexpected << kind + QStringLiteral(": ") + text;
        QTest::qFail(
            qPrintable(QStringLiteral("A dialog nobody scripted appeared: ") + m_unexpected.last()),
            __FILE__, __LINE__);
        return {};
    }
    return m_answers.dequeue();
}

void ScriptedDialogs::message(const QString &text, const QString &title, Icon icon)
{
    m_shown.append({QStringLiteral("message"), text, title, icon, QString()});
}

bool ScriptedDialogs::question(const QString &text, const QString &title, Icon icon)
{
    return take(QStringLiteral("question"), text, title, icon).toBool();
}

QString ScriptedDialogs::inputText(const QString &prompt, const QString &title, const QString &,
                                   bool *ok)
{
    const QVariant answer = take(QStringLiteral("input"), prompt, title, Icon::None);
    if (ok)
        *ok = answer.isValid();
    return answer.toString();
}

QString ScriptedDialogs::openFileName(const QString &title, const QString &folder,
                                      const QString &filter)
{
    return take(QStringLiteral("open"), filter, title, Icon::None, folder).toString();
}

QString ScriptedDialogs::saveFileName(const QString &title, const QString &folder,
                                      const QString &filter)
{
    return take(QStringLiteral("save"), filter, title, Icon::None, folder).toString();
}

QString ScriptedDialogs::folderName(const QString &title, const QString &folder)
{
    return take(QStringLiteral("folder"), folder, title, Icon::None, folder).toString();
}

QColor ScriptedDialogs::color(const QColor &initial, bool *ok)
{
    const QVariant answer = take(QStringLiteral("color"), QString(), QString(), Icon::None);
    if (ok)
        *ok = answer.isValid();
    return answer.isValid() ? answer.value<QColor>() : initial;
}

QFont ScriptedDialogs::font(const QFont &initial, bool *ok)
{
    const QVariant answer = take(QStringLiteral("font"), QString(), QString(), Icon::None);
    if (ok)
        *ok = answer.isValid();
    return answer.isValid() ? answer.value<QFont>() : initial;
}
