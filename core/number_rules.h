#pragma once

#include <QString>
#include <QStringView>

// The number rules of the calculator's boxes. Both are independent of the
// user's locale: the period is the only decimal separator, and no grouping
// separators are read or written.

// The leading number of a box's text; text without one reads as 0.
//  - Blanks, tabs and line feeds are removed wherever they stand (carriage
//    returns are not).
//  - "&H" / "&O" (either case) start a hexadecimal / octal integer. The digits
//    are taken modulo 2^32 and the result read as a 32-bit two's-complement
//    value, so "&HFFFFFFFF" is -1 and "&H100000000" is 0.
//  - Otherwise: an optional sign, digits with at most one period, and an
//    optional exponent "E" or "D" (either case) with an optional sign and at
//    least one digit. A value too large for a double reads as an infinity of
//    its sign, one too small as zero of its sign.
double ReadNumber(QStringView text);

// The nearest whole number as decimal digits, halves away from zero, never
// "-0", never an exponent. A value that is not finite has no whole number and
// gives the empty text.
QString FormatWhole(double value);
