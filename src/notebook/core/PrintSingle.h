#pragma once

#include "DocumentRecord.h"

#include <QString>

#include <memory>
#include <optional>

class QTextDocument;

// The single-document report (PrintSingle) that "ID_PrintSelected" shows for printing: a
// header of the document's catalogue facts over its text, as one rich text that the print
// preview lays out (and prints, or writes as PDF where there is no printer).
class PrintSingle
{
public:
    // At most this many rows of a list document are printed in the report; the list's own
    // print tool prints it whole.
    static constexpr int MaxListRows = 2000;

    // The report of the document at path. With a row, the header shows Date, Type, category1,
    // documentName, serialno, Version, Author and Progress (each empty when Null; the date
    // day first when national). The body is the file: rich text when its last three characters
    // are "RTF" (any case), a list document as its table, a picture as itself, any other file
    // as plain text. A file that cannot be read gives a body saying so.
    static std::unique_ptr<QTextDocument>
    report(const QString &path, const std::optional<DocumentRecord> &row, bool national);
    // The header's captions in their order.
    static QStringList captions();
};
