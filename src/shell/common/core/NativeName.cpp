#include "NativeName.h"

namespace
{

constexpr char16_t escapeBase = 0xEF00;

bool isContinuation(uchar byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at data[0] (RFC 3629: no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 when there is none.
int sequenceLength(const uchar *data, qsizetype left)
{
    const uchar lead = data[0];
    int length = 0;
    uchar low = 0x80; // the range of the second byte
    uchar high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || left < length || data[1] < low || data[1] > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (!isContinuation(data[i]))
            return 0;
    }
    return length;
}

char32_t codePoint(const uchar *data, int length)
{
    char32_t value = data[0] & (0xFF >> (length + 1));
    for (int i = 1; i < length; ++i)
        value = (value << 6) | (data[i] & 0x3F);
    return value;
}

bool isEscape(char32_t c)
{
    return c >= NativeName::FirstEscape && c <= NativeName::LastEscape;
}

void appendUtf8(char32_t c, QByteArray *out)
{
    if (c < 0x80) {
        out->append(char(c));
    } else if (c < 0x800) {
        out->append(char(0xC0 | (c >> 6))).append(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->append(char(0xE0 | (c >> 12)))
            .append(char(0x80 | ((c >> 6) & 0x3F)))
            .append(char(0x80 | (c & 0x3F)));
    } else {
        out->append(char(0xF0 | (c >> 18)))
            .append(char(0x80 | ((c >> 12) & 0x3F)))
            .append(char(0x80 | ((c >> 6) & 0x3F)))
            .append(char(0x80 | (c & 0x3F)));
    }
}

} // namespace

QString NativeName::fromNative(QByteArrayView bytes)
{
    // Almost every name: valid UTF-8 without the escape range (whose characters start EE BE or
    // EE BF).
    if (bytes.isValidUtf8() && !bytes.contains(QByteArrayView("\xEE\xBE")) &&
        !bytes.contains(QByteArrayView("\xEE\xBF")))
        return QString::fromUtf8(bytes);
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    QString text;
    text.reserve(size);
    for (qsizetype i = 0; i < size;) {
        if (data[i] < 0x80) {
            text.append(QChar(data[i++]));
            continue;
        }
        const int length = sequenceLength(data + i, size - i);
        const char32_t c = length > 0 ? codePoint(data + i, length) : 0;
        if (length == 0 || isEscape(c)) {
            // One escape per byte: a byte of no valid sequence, or each byte of a character
            // that looks like an escape.
            const int bytesToEscape = length == 0 ? 1 : length;
            for (int k = 0; k < bytesToEscape; ++k)
                text.append(QChar(char16_t(escapeBase + data[i + k])));
            i += bytesToEscape;
            continue;
        }
        const char32_t units[1] = {c};
        text.append(QString::fromUcs4(units, 1));
        i += length;
    }
    return text;
}

QByteArray NativeName::toNative(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (isEscape(unit)) {
            bytes.append(char(unit - escapeBase));
        } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
                   QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            appendUtf8(QChar::surrogateToUcs4(unit, text.at(i + 1).unicode()), &bytes);
            ++i;
        } else if (QChar::isSurrogate(unit)) {
            appendUtf8(0xFFFD, &bytes);
        } else {
            appendUtf8(unit, &bytes);
        }
    }
    return bytes;
}
