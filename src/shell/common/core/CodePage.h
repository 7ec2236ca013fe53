#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <array>
#include <memory>
#include <string>

// A Windows/DOS code page (1252, 437, 1251, 936, ...) for text stored in 8-bit files: database
// tables and rich text. Single-byte pages decode through a 256-entry table built once, so scans
// stay cheap; multi-byte pages (932, 936, 949, 950, ...) go through iconv. Not thread-safe.
class CodePage
{
public:
    explicit CodePage(int number = 1252);

    int number() const { return m_number; }
    // False when the system cannot convert this page; decode then treats bytes as Latin-1.
    bool isValid() const { return m_valid; }

    QString decode(const char *data, qsizetype size) const;
    QString decode(const QByteArray &bytes) const
    {
        return decode(bytes.constData(), bytes.size());
    }
    // Appends the text as UTF-8; for single-byte pages without a detour through QString, which
    // is what keeps a table scan through SQL cheap.
    void appendUtf8(const char *data, qsizetype size, std::string *out) const;
    // Characters the page cannot hold become '?'; when unmappable is given it is set to the
    // first of them (a surrogate pair stays whole), or left empty when the page holds them all.
    // A single-byte page encodes exactly what it decodes, bytes it leaves undefined included.
    QByteArray encode(const QString &text, QString *unmappable = nullptr) const;

    // iconv's name of the page.
    static QByteArray iconvName(int number);

private:
    struct Converter;
    int m_number;
    bool m_valid = false;
    bool m_singleByte = true;
    std::array<char16_t, 256> m_table{};
    std::array<std::array<char, 4>, 256> m_utf8{}; // byte -> UTF-8, length in the last char
    QHash<char16_t, char> m_bytesAbove127;         // single-byte pages: character -> byte
    std::shared_ptr<Converter> m_converter;
};
