#pragma once

#include <QString>

// How the conversion windows read and write numbers: never with thousands separators, never
// with trailing zeros, and the same whatever the locale.
class NumberText
{
public:
    // Shortest general form of a 4-byte float: up to 7 significant digits, exponent form
    // ("1E-05", "1.234568E+07") only for very small or large values.
    static QString single(float value);
    // The same for a double, with up to 15 significant digits.
    static QString general(double value);
    // value rounded to places decimal places, ties to the even digit. Ties are decided on the
    // exact binary value, so 0.125 rounds to 0.12 and 2.675 (really 2.67499...) to 2.67.
    static double roundHalfEven(double value, int places);
    // The number a whole text stands for (blanks around it allowed); ok false when it is not one.
    static double number(const QString &text, bool *ok = nullptr);
    // The number the text starts with; a text that does not start with one counts as 0.
    static double leadingNumber(const QString &text);
};
