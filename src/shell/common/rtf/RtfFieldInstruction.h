#pragma once

#include <QString>

// The \fldinst destination of a field. Of the fields, only HYPERLINK changes what is shown:
// the field's result becomes a link.
class RtfFieldInstruction
{
public:
    void clear() { m_text.clear(); }
    void append(const QString &text) { m_text += text; }

    // The target of a HYPERLINK instruction, or "" for other fields.
    QString hyperlinkTarget() const;

private:
    QString m_text;
};
