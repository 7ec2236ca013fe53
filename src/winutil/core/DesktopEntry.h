#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// A freedesktop desktop entry (".desktop", ".directory"): the keys of its [Desktop Entry] group,
// read from a file and written back, with the format's escapes. Localised keys ("Name[de]") are
// read past; the program writes only unlocalised ones.
class DesktopEntry
{
public:
    // Keys of the [Desktop Entry] group, unescaped; nullopt when the file cannot be read or has
    // no such group.
    static std::optional<DesktopEntry> read(const QString &path);
    static DesktopEntry parse(const QByteArray &content);

    void set(const QString &key, const QString &value);
    QString value(const QString &key) const;
    bool contains(const QString &key) const;
    bool isEmpty() const { return m_keys.isEmpty(); }
    // A ";"-separated list value ("Categories", "MimeType"), without empty items.
    QStringList list(const QString &key) const;
    bool flag(const QString &key) const;

    // The Exec key as a program and its arguments: quoting undone, "%%" made "%", the field
    // codes that stand for files or URLs (%f %F %u %U) and the deprecated ones dropped, %c the
    // name, %k the entry's own path. Empty when the key is missing or badly quoted.
    QStringList execArguments(const QString &entryPath = QString()) const;

    // The file text: "[Desktop Entry]" and every key in the order set, escaped.
    QByteArray text() const;

    // The format's escapes of string values: "\s" (leading blank), "\n", "\t", "\r", "\\".
    static QString escape(const QString &value);
    static QString unescape(const QString &value);

private:
    QList<std::pair<QString, QString>> m_keys;
};
