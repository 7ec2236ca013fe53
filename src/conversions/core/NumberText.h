#pragma once

#include <QString>

// How the conversion windows read and write numbers: in double precision, never with thousands
// separators, never with trailing zeros, and the same whatever the locale.
class NumberText
{
public:
    // The most significant digits a computed result shows.
    static constexpr int resultDigits = 10;
    // The most a double needs to read back exactly.
    static constexpr int allDigits = 17;

    // The shortest text that reads back to value, with at most maxDigits (1 to 17) significant
    // digits; a value that needs more is rounded to maxDigits, so 1/3 gives "0.3333333333".
    // Exponent form ("1E-05", "1.23456789E+10") below 0.0001 and from 10^maxDigits up.
    static QString shortest(double value, int maxDigits = resultDigits);
    // value rounded to places decimal places (ties to even), written exactly as rounded.
    static QString rounded(double value, int places);
    // value rounded to places decimal places, ties to the even digit. Ties are decided on the
    // exact binary value, so 0.125 rounds to 0.12 and 2.675 (really 2.67499...) to 2.67.
    static double roundHalfEven(double value, int places);
    // The number a whole text stands for (blanks around it allowed); ok false when it is not one.
    static double number(const QString &text, bool *ok = nullptr);
    // The number the text starts with; a text that does not start with one counts as 0.
    static double leadingNumber(const QString &text);
};
