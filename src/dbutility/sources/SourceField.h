#pragma once

#include <QString>

// Which of the two field-type tables a source's type codes belong to: the Access path reports
// OLE DB type codes, every other source Jet field types (the installable-driver path).
enum class TypePath { Access, InstallableDriver };

// One field of a foreign table as the format defines it.
struct SourceField {
    QString name;       // as shown and as the SQL column name (made unique within the table)
    QString nativeType; // the format's own type code: "C", "N", "A", "$", "Text", ...
    int typeCode = 0;   // code on the table's TypePath, turned into a name by FieldTypeNames
    int size = 0;       // defined size in bytes
    int decimals = 0;
};
