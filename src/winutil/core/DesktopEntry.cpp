#include "DesktopEntry.h"

#include "CommandLine.h"

#include <QFile>

std::optional<DesktopEntry> DesktopEntry::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    DesktopEntry entry = parse(file.readAll());
    if (entry.isEmpty())
        return std::nullopt;
    return entry;
}

DesktopEntry DesktopEntry::parse(const QByteArray &content)
{
    DesktopEntry entry;
    bool inMain = false;
    for (const QByteArray &rawLine : content.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            inMain = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMain)
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (key.contains('[') || entry.contains(key))
            continue;
        entry.m_keys.append({key, unescape(line.mid(eq + 1).trimmed())});
    }
    return entry;
}

void DesktopEntry::set(const QString &key, const QString &value)
{
    for (auto &pair : m_keys) {
        if (pair.first == key) {
            pair.second = value;
            return;
        }
    }
    m_keys.append({key, value});
}

QString DesktopEntry::value(const QString &key) const
{
    for (const auto &pair : m_keys) {
        if (pair.first == key)
            return pair.second;
    }
    return {};
}

bool DesktopEntry::contains(const QString &key) const
{
    for (const auto &pair : m_keys) {
        if (pair.first == key)
            return true;
    }
    return false;
}

QStringList DesktopEntry::list(const QString &key) const
{
    return value(key).split(';', Qt::SkipEmptyParts);
}

bool DesktopEntry::flag(const QString &key) const
{
    return value(key) == QLatin1String("true");
}

QStringList DesktopEntry::execArguments(const QString &entryPath) const
{
    const std::optional<QStringList> words = CommandLine::split(value(QStringLiteral("Exec")));
    if (!words)
        return {};
    QStringList arguments;
    for (const QString &word : *words) {
        if (word.size() == 2 && word.at(0) == '%') {
            const QChar code = word.at(1);
            if (code == 'c')
                arguments << value(QStringLiteral("Name"));
            else if (code == 'k' && !entryPath.isEmpty())
                arguments << entryPath;
            else if (code == '%')
                arguments << QStringLiteral("%");
            // Every other code stands for files, URLs or an icon the panel never passes.
            continue;
        }
        arguments << QString(word).replace(QStringLiteral("%%"), QStringLiteral("%"));
    }
    return arguments;
}

QByteArray DesktopEntry::text() const
{
    QString out = QStringLiteral("[Desktop Entry]\n");
    for (const auto &[key, value] : m_keys)
        out += key + '=' + escape(value) + '\n';
    return out.toUtf8();
}

QString DesktopEntry::escape(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == '\\')
            out += QStringLiteral("\\\\");
        else if (c == '\n')
            out += QStringLiteral("\\n");
        else if (c == '\t')
            out += QStringLiteral("\\t");
        else if (c == '\r')
            out += QStringLiteral("\\r");
        else if (c == ' ' && i == 0)
            out += QStringLiteral("\\s");
        else
            out += c;
    }
    return out;
}

QString DesktopEntry::unescape(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != '\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        if (next == 's')
            out += ' ';
        else if (next == 'n')
            out += '\n';
        else if (next == 't')
            out += '\t';
        else if (next == 'r')
            out += '\r';
        else if (next == '\\')
            out += '\\';
        else
            out += QString{c} + next; // not a string escape: kept for the Exec key's own quoting
    }
    return out;
}
