#include "SourceTable.h"

qint64 SourceTable::rowCount() const
{
    qint64 count = 0;
    const qint64 total = slotCount();
    for (qint64 slot = 0; slot < total; ++slot) {
        if (isLive(slot))
            ++count;
    }
    return count;
}

bool SourceTable::textUtf8(qint64, int, std::string *, bool *) const
{
    return false;
}

bool SourceTable::refuseWrite(QString *error) const
{
    if (error)
        *error = readOnlyReason();
    return false;
}

bool SourceTable::checkSlot(qint64 slot, QString *error) const
{
    return hasSlot(slot) || noRecord(slot, error);
}

bool SourceTable::checkLiveSlot(qint64 slot, QString *error) const
{
    return isLive(slot) || noRecord(slot, error);
}

bool SourceTable::checkColumns(const QMap<int, QVariant> &values, QString *error) const
{
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!hasColumn(it.key())) {
            if (error)
                *error = QStringLiteral("%1 has no field %2").arg(name()).arg(qint64(it.key()) + 1);
            return false;
        }
    }
    return true;
}

bool SourceTable::noRecord(qint64 slot, QString *error) const
{
    if (error)
        *error = QStringLiteral("%1 has no record %2").arg(name()).arg(slot + 1);
    return false;
}

bool SourceTable::beginWrite(QString *)
{
    return true;
}

bool SourceTable::insertRow(const QMap<int, QVariant> &, qint64 *, QString *error)
{
    return refuseWrite(error);
}

bool SourceTable::updateRow(qint64, const QMap<int, QVariant> &, QString *error)
{
    return refuseWrite(error);
}

bool SourceTable::deleteRow(qint64, QString *error)
{
    return refuseWrite(error);
}

bool SourceTable::commitWrite(QString *)
{
    return true;
}

void SourceTable::rollbackWrite() {}
