#pragma once

#include "SourceTable.h"

#include <functional>

// A read-only table whose rows are read into memory on first use, for the sources read
// through a library (Access, Paradox). A loader that fails leaves the table empty and its
// message in loadError().
class MemoryTable final : public SourceTable
{
public:
    using Rows = QList<QVariantList>;
    using Loader = std::function<bool(Rows *rows, QString *error)>;

    MemoryTable(const QString &name, TypePath path, const QList<SourceField> &fields, Loader loader,
                const QString &readOnlyReason);

    QString name() const override { return m_name; }
    TypePath typePath() const override { return m_path; }
    const QList<SourceField> &fields() const override { return m_fields; }
    qint64 slotCount() const override;
    bool isLive(qint64 slot) const override;
    QVariant value(qint64 slot, int column) const override;
    QString readOnlyReason() const override { return m_readOnlyReason; }

    QString loadError() const;

private:
    void load() const;

    QString m_name;
    TypePath m_path;
    QList<SourceField> m_fields;
    QString m_readOnlyReason;
    mutable Loader m_loader;
    mutable Rows m_rows;
    mutable QString m_loadError;
};
