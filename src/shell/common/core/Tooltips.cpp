#include "Tooltips.h"

#include "AppFolders.h"
#include "Store.h"

#include <QCoreApplication>
#include <QHash>
#include <QSqlQuery>

#include <memory>

namespace
{

struct Cache {
    std::unique_ptr<Store> store;
    QString path;
    qint64 version = -1;
    QHash<QString, QString> texts;
};

Cache &cache()
{
    static Cache *instance = [] {
        auto *c = new Cache;
        // The handle must close while Qt SQL still runs, not at static destruction.
        qAddPostRoutine([] { cache().store.reset(); });
        return c;
    }();
    return *instance;
}

// SQLite's data_version changes when any other connection commits to the file.
qint64 dataVersion(const Store &store)
{
    return store.value(QStringLiteral("PRAGMA data_version")).toLongLong();
}

} // namespace

QVariant Tooltips::text(const QString &code)
{
    Cache &c = cache();
    const QString path = AppFolders::dataStorePath();
    if (!c.store || c.path != path) {
        c.store = std::make_unique<Store>(Store::Kind::Data, path);
        c.path = path;
        c.version = -1;
    }
    if (!c.store->isOpen())
        return {};
    const qint64 version = dataVersion(*c.store);
    if (version != c.version) {
        c.texts.clear();
        QSqlQuery rows = c.store->query(QStringLiteral("Select Code, Tooltip from nv_tooltip"));
        // Codes compare without regard to case, and the first row of a code wins, as a lookup by
        // "where Code=" would find it.
        while (rows.next()) {
            const QString key = rows.value(0).toString().toCaseFolded();
            if (!c.texts.contains(key))
                c.texts.insert(key, rows.value(1).toString());
        }
        c.version = version;
    }
    const auto it = c.texts.constFind(code.toCaseFolded());
    return it == c.texts.constEnd() ? QVariant() : QVariant(*it);
}
