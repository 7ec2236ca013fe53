#pragma once

class QSqlDatabase;
struct sqlite3;

// The SQLite C handle behind a Qt SQL connection, for what Qt Sql cannot do (functions, virtual
// tables, bulk statements); null when the connection is closed or not SQLite. The handle belongs
// to the connection: never close it.
sqlite3 *sqliteHandle(const QSqlDatabase &db);
