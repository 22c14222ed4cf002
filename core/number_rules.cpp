#include "core/number_rules.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

// Walks a text as ReadNumber sees it: blanks, tabs and line feeds are not there.
class Cursor
{
public:
    explicit Cursor(QStringView text) : text_(text) { skipIgnored(); }

    // The current character, or 0 at the end (NUL never takes part in a number).
    char16_t peek() const { return position_ < text_.size() ? text_[position_].unicode() : u'\0'; }
    void advance()
    {
        ++position_;
        skipIgnored();
    }

private:
    void skipIgnored()
    {
        while (position_ < text_.size()) {
            const char16_t c = text_[position_].unicode();
            if (c != u' ' && c != u'\t' && c != u'\n')
                break;
            ++position_;
        }
    }

    QStringView text_;
    qsizetype position_ = 0;
};

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int digitValue(char16_t c, int radix)
{
    int value = radix;
    if (isDigit(c))
        value = c - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c - u'A' + 10;
    return value < radix ? value : -1;
}

double readRadixInteger(Cursor cursor, int radix)
{
    std::uint32_t value = 0;
    for (int digit; (digit = digitValue(cursor.peek(), radix)) >= 0; cursor.advance())
        value = value * static_cast<std::uint32_t>(radix) + static_cast<std::uint32_t>(digit);
    return static_cast<std::int32_t>(value);
}

// Appends the digits at the cursor to `out`; returns how many there were.
long appendDigits(Cursor &cursor, std::string &out)
{
    long count = 0;
    for (; isDigit(cursor.peek()); cursor.advance(), ++count)
        out.push_back(static_cast<char>(cursor.peek()));
    return count;
}

// An exponent "E"/"D" with optional sign and digits, or nothing when the
// letter is not followed by a digit (then it is not part of the number).
std::string readExponent(Cursor &cursor)
{
    const char16_t letter = cursor.peek();
    if (letter != u'E' && letter != u'e' && letter != u'D' && letter != u'd')
        return {};
    Cursor ahead = cursor;
    ahead.advance();
    std::string exponent = "e";
    if (ahead.peek() == u'+' || ahead.peek() == u'-') {
        exponent.push_back(static_cast<char>(ahead.peek()));
        ahead.advance();
    }
    if (appendDigits(ahead, exponent) == 0)
        return {};
    cursor = ahead;
    return exponent;
}

// For a literal that std::from_chars found out of range: whether it is too
// large (rather than too small) for a double. Writing the literal as
// 0.d1d2... x 10^m with d1 its first non-zero digit, it is too large when m > 0.
bool exceedsDoubleRange(const std::string &literal)
{
    const auto exponentAt = literal.find('e');
    long exponent = 0;
    if (exponentAt != std::string::npos) {
        for (char c : literal.substr(exponentAt + 1)) {
            if (c >= '0' && c <= '9' && exponent < 100'000'000) // saturates, far beyond any double
                exponent = exponent * 10 + (c - '0');
        }
        if (literal.find('-', exponentAt) != std::string::npos)
            exponent = -exponent;
    }
    const std::string mantissa = literal.substr(0, exponentAt);
    const auto point = mantissa.find('.');
    const auto firstSignificant = mantissa.find_first_of("123456789");
    const long integerDigits = static_cast<long>(point == std::string::npos ? mantissa.size() : point);
    // Places of the first significant digit to the left of the point (0 or negative right of it).
    const long places = point == std::string::npos || firstSignificant < point
        ? integerDigits - static_cast<long>(firstSignificant)
        : -static_cast<long>(firstSignificant - point - 1);
    return exponent + places > 0;
}

double readDecimal(Cursor cursor)
{
    std::string literal;
    if (cursor.peek() == u'+' || cursor.peek() == u'-') {
        if (cursor.peek() == u'-')
            literal.push_back('-');
        cursor.advance();
    }
    long digits = appendDigits(cursor, literal);
    if (cursor.peek() == u'.') {
        literal.push_back('.');
        cursor.advance();
        digits += appendDigits(cursor, literal);
    }
    if (digits == 0)
        return 0.0;
    literal += readExponent(cursor);

    double value = 0.0;
    const auto [end, error] = std::from_chars(literal.data(), literal.data() + literal.size(), value);
    if (error == std::errc::result_out_of_range) {
        const bool negative = literal.front() == '-';
        value = exceedsDoubleRange(literal) ? std::numeric_limits<double>::infinity() : 0.0;
        if (negative)
            value = -value;
    }
    return value;
}

} // namespace

double ReadNumber(QStringView text)
{
    Cursor cursor(text);
    if (cursor.peek() == u'&') {
        Cursor prefix = cursor;
        prefix.advance();
        const char16_t kind = prefix.peek();
        if (kind == u'H' || kind == u'h' || kind == u'O' || kind == u'o') {
            prefix.advance();
            return readRadixInteger(prefix, kind == u'H' || kind == u'h' ? 16 : 8);
        }
        return 0.0;
    }
    return readDecimal(cursor);
}

QString FormatWhole(double value)
{
    if (!std::isfinite(value))
        return {};
    // Halves away from zero. Not std::round: MinGW's adds 0.5 and floors,
    // which takes the largest double below a half up to 1. The fraction
    // that trunc() leaves is exact.
    double whole = std::trunc(value);
    if (std::abs(value - whole) >= 0.5)
        whole += std::copysign(1.0, value);
    if (whole == 0.0)
        return QStringLiteral("0");
    // Exact decimal digits of the whole number: at most 309 digits and a sign.
    char digits[320];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, whole, std::chars_format::fixed, 0);
    return QString::fromLatin1(digits, end - digits);
}
