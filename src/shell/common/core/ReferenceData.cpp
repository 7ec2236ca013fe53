#include "ReferenceData.h"

#include "ConversionTable.h"

#include <QFile>

#include <sqlite3.h>

namespace {

bool run(sqlite3 *db, const QString &sql, QString *message)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) == SQLITE_OK)
        return true;
    if (message)
        *message = QString::fromUtf8(error ? error : "unknown error");
    sqlite3_free(error);
    return false;
}

} // namespace

QString ReferenceData::text(const QString &name)
{
    QFile file(QStringLiteral(":/data/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

bool ReferenceData::build(Store store, sqlite3 *db, QString *message)
{
    const QString schema = text(store == Store::Data ? QStringLiteral("datastore.sql")
                                                     : QStringLiteral("infostore.sql"));
    if (schema.isNull()) {
        if (message)
            *message = QStringLiteral("The store's schema is missing from the program.");
        return false;
    }
    run(db, QStringLiteral("PRAGMA journal_mode=WAL"), nullptr);
    if (!run(db, QStringLiteral("BEGIN"), message))
        return false;
    bool ok = run(db, schema, message);
    // Conversion rows are generated from the unit table rather than shipped as rates.
    if (ok && store == Store::Info)
        ok = ConversionTable::insert(db, message);
    if (!ok) {
        run(db, QStringLiteral("ROLLBACK"), nullptr);
        return false;
    }
    return run(db, QStringLiteral("COMMIT"), message);
}
