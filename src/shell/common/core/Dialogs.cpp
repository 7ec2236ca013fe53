#include "Dialogs.h"

#include <memory>

namespace {

// Until a window system installs its own, nothing is shown and every question says No.
class SilentDialogs final : public Dialogs
{
public:
    void message(const QString &, const QString &, Icon) override {}
    bool question(const QString &, const QString &, Icon) override { return false; }
    QString inputText(const QString &, const QString &, const QString &, bool *ok) override
    {
        if (ok)
            *ok = false;
        return {};
    }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString folderName(const QString &, const QString &) override { return {}; }
    QColor color(const QColor &initial, bool *ok) override
    {
        if (ok)
            *ok = false;
        return initial;
    }
    QFont font(const QFont &initial, bool *ok) override
    {
        if (ok)
            *ok = false;
        return initial;
    }
};

std::unique_ptr<Dialogs> &current()
{
    static std::unique_ptr<Dialogs> dialogs = std::make_unique<SilentDialogs>();
    return dialogs;
}

} // namespace

Dialogs &Dialogs::instance()
{
    return *current();
}

void Dialogs::install(Dialogs *dialogs)
{
    current().reset(dialogs ? dialogs : new SilentDialogs);
}

QString Dialogs::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1).trimmed();
        patterns.replace(';', ' ');
        out << parts.at(i).trimmed() + QStringLiteral(" (") + patterns + ')';
    }
    // A trailing odd pattern ("Text|*.txt|*.csv") belongs to the last caption.
    if (parts.size() > 2 && parts.size() % 2 == 1 && !out.isEmpty()) {
        QString &last = out.last();
        last.insert(last.size() - 1, ' ' + parts.last().trimmed());
    }
    return out.join(QStringLiteral(";;"));
}
