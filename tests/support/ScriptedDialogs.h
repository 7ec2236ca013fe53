#pragma once

#include "Dialogs.h"

#include <QList>
#include <QQueue>
#include <QVariant>

// Answers dialogs from a script and records every message. A question, prompt or picker that
// the test did not script fails the running test; it is answered No/cancel, so the test never
// hangs on a modal window. Answers left over when the test environment ends fail it too.
class ScriptedDialogs final : public Dialogs
{
public:
    struct Shown {
        QString kind; // "message", "question", "input", "open", "save", "folder", "color", "font"
        QString text;
        QString title;
        Icon icon = Icon::None;
        QString folder; // where a file or folder picker started
    };

    // Queue the next answers, in order of asking.
    void answerQuestion(bool yes) { m_answers.enqueue(yes); }
    void answerInput(const QString &text) { m_answers.enqueue(text); }
    void cancelNext() { m_answers.enqueue(QVariant()); }
    void answerPath(const QString &path) { m_answers.enqueue(path); }
    void answerColor(const QColor &color) { m_answers.enqueue(color); }
    void answerFont(const QFont &font) { m_answers.enqueue(font); }

    const QList<Shown> &shown() const { return m_shown; }
    QStringList messages() const;
    const QStringList &unexpected() const { return m_unexpected; }
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear();

    void message(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &text, const QString &title, Icon icon) override;
    QString inputText(const QString &prompt, const QString &title, const QString &initial,
                      bool *ok) override;
    QString openFileName(const QString &title, const QString &folder,
                         const QString &filter) override;
    QString saveFileName(const QString &title, const QString &folder,
                         const QString &filter) override;
    QString folderName(const QString &title, const QString &folder) override;
    QColor color(const QColor &initial, bool *ok) override;
    QFont font(const QFont &initial, bool *ok) override;

private:
    QVariant take(const QString &kind, const QString &text, const QString &title, Icon icon,
                  const QString &folder = QString());

    QQueue<QVariant> m_answers;
    QList<Shown> m_shown;
    QStringList m_unexpected;
};
