#pragma once

#include <QString>
#include <QStringList>

class Store;

// The word list by school subject (ut_NbKeyword: Keyword, Subject) that the editors offer while
// typing. The statements are the editors' own; every value goes in as an escaped literal.
class WordList
{
public:
    // The subject lists' "all" entry.
    static inline const QString All = QStringLiteral("All");

    explicit WordList(const Store &store) : m_store(store) {}

    // "select distinct subject from ut_NbKeyword".
    QStringList subjects() const;
    // The words of a statement below (its first column, Keyword).
    QStringList words(const QString &statement) const;

    // A subject tab: its words, or every word for the tab "All".
    static QString subjectStatement(const QString &subject);
    // The two subject lists and the "all" box: every word when ticked or when neither list holds
    // a subject, one subject's words, or the words of either.
    static QString subjectsStatement(const QString &first, const QString &second, bool all);
    // Completion in the full editor: the words beginning with prefix, of either subject when both
    // lists hold one (the prefix applies to both), else of any subject.
    static QString completionStatement(const QString &prefix, const QString &first,
                                       const QString &second);
    // Completion in the notebook window: the English words beginning with prefix.
    static QString notebookCompletionStatement(const QString &prefix);
    // The notebook's tool "Autotext": the words beginning with prefix, of any subject.
    static QString autotextStatement(const QString &prefix);

    // A subject list holds a subject when it is neither empty nor "All" (any case).
    static bool isSubject(const QString &text);
    // The word-completion prefix after a key: a blank starts a new word, another character
    // joins the prefix.
    static QString nextPrefix(const QString &prefix, QChar typed);

private:
    const Store &m_store;
};
