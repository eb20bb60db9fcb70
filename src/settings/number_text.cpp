// SPDX-License-Identifier: MIT
#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace settings {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDecimalDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The value of an ASCII hex or octal digit, or -1 where c is not one in that base.
int baseDigit(QChar c, int base)
{
    const char16_t u = c.unicode();
    int value = -1;
    if (u >= u'0' && u <= u'9')
        value = u - u'0';
    else if (u >= u'a' && u <= u'f')
        value = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        value = u - u'A' + 10;
    return value < base ? value : -1;
}

bool isLetter(QChar c, char16_t upper)
{
    return c.unicode() == upper || c.unicode() == upper + (u'a' - u'A');
}

struct Scanned {
    double value = 0;
    qsizetype length = 0;  // characters that belong to the number; 0: no number at all
    bool complete = false; // every part that was started has its digits
};

// Whole number in base 16 or 8 from its digits. The octal digits are regrouped into hex
// so that one correctly rounded conversion serves both, however many digits there are.
double basedValue(const std::string& digits, int base)
{
    std::string hex;
    if (base == 16) {
        hex = digits;
    } else {
        std::string bits;
        bits.reserve(digits.size() * 3);
        for (char d : digits) {
            const int v = d - '0';
            bits += (v & 4) ? '1' : '0';
            bits += (v & 2) ? '1' : '0';
            bits += (v & 1) ? '1' : '0';
        }
        bits.insert(0, (4 - bits.size() % 4) % 4, '0');
        for (std::size_t i = 0; i < bits.size(); i += 4) {
            const int nibble
                = (bits[i] - '0') * 8 + (bits[i + 1] - '0') * 4 + (bits[i + 2] - '0') * 2 + (bits[i + 3] - '0');
            hex += "0123456789abcdef"[nibble];
        }
    }
    const auto first = hex.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    hex.erase(0, first);

    double value = 0;
    const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), value, std::chars_format::hex);
    (void)end;
    if (ec == std::errc::result_out_of_range)
        return std::numeric_limits<double>::infinity();
    return value;
}

// Reads the longest number at the start of `text` (no blanks expected inside).
Scanned scanNumber(QStringView text)
{
    Scanned out;
    const qsizetype n = text.size();
    qsizetype pos = 0;

    if (n >= 2 && text[0] == u'&' && (isLetter(text[1], u'H') || isLetter(text[1], u'O'))) {
        const int base = isLetter(text[1], u'H') ? 16 : 8;
        pos = 2;
        std::string digits;
        while (pos < n && baseDigit(text[pos], base) >= 0)
            digits += char(text[pos++].unicode());
        out.value = basedValue(digits, base);
        out.length = pos;
        out.complete = !digits.empty();
        return out;
    }

    bool negative = false;
    if (pos < n && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    std::string whole;
    std::string fraction;
    while (pos < n && isDecimalDigit(text[pos]))
        whole += char(text[pos++].unicode());
    bool period = false;
    if (pos < n && text[pos] == u'.') {
        period = true;
        ++pos;
        while (pos < n && isDecimalDigit(text[pos]))
            fraction += char(text[pos++].unicode());
    }
    if (whole.empty() && fraction.empty())
        return out;

    out.complete = true;
    std::string exponent;
    if (pos < n && isLetter(text[pos], u'E')) {
        qsizetype e = pos + 1;
        std::string candidate;
        if (e < n && (text[e] == u'+' || text[e] == u'-'))
            candidate += char(text[e++].unicode());
        const qsizetype digitsStart = e;
        while (e < n && isDecimalDigit(text[e]))
            candidate += char(text[e++].unicode());
        // "1e" reads as 1: an exponent without digits is not part of the number.
        if (e > digitsStart) {
            exponent = candidate;
            pos = e;
        }
    }
    out.length = pos;

    std::string chars = negative ? "-" : "";
    chars += whole.empty() ? "0" : whole;
    if (period && !fraction.empty())
        chars += '.' + fraction;
    if (!exponent.empty())
        chars += 'e' + exponent;

    double value = 0;
    const auto [end, ec]
        = std::from_chars(chars.data(), chars.data() + chars.size(), value, std::chars_format::general);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Overflow or underflow: tell them apart by the decimal position of the first
        // significant digit, shifted by the (saturated) exponent.
        std::int64_t magnitude = 0;
        const auto firstWhole = whole.find_first_not_of('0');
        if (firstWhole != std::string::npos)
            magnitude = std::int64_t(whole.size() - firstWhole);
        else
            magnitude = -std::int64_t(fraction.find_first_not_of('0'));
        std::int64_t shift = 0;
        for (char c : exponent) {
            if (c >= '0' && c <= '9' && shift < 100'000'000)
                shift = shift * 10 + (c - '0');
        }
        if (!exponent.empty() && exponent[0] == '-')
            shift = -shift;
        const double limit = magnitude + shift > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        value = negative ? -limit : limit;
    }
    out.value = value;
    return out;
}

template <typename Real> QString shortest(Real value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    if (value == 0)
        return QStringLiteral("0"); // negative zero included

    // Plain digits where a person expects them; an exponent for the very large and the
    // very small, where fixed notation would run to hundreds of digits.
    const Real magnitude = std::fabs(value);
    const auto format
        = magnitude < Real(1e15) && magnitude >= Real(1e-4) ? std::chars_format::fixed : std::chars_format::general;
    char buffer[512];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, format);
    if (ec != std::errc())
        return QString();
    return QString::fromLatin1(buffer, end - buffer);
}

} // namespace

double readNumber(QStringView text)
{
    QString compact;
    compact.reserve(text.size());
    for (QChar c : text) {
        if (!isBlank(c))
            compact += c;
    }
    return scanNumber(compact).value;
}

std::optional<double> readStrictNumber(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    const QStringView number = text.sliced(begin, end - begin);
    if (number.isEmpty())
        return std::nullopt;

    const Scanned scanned = scanNumber(number);
    if (scanned.length != number.size() || !scanned.complete)
        return std::nullopt;
    return scanned.value;
}

QString typeMismatchText()
{
    return QStringLiteral("Type mismatch");
}

QString shortestText(double value)
{
    return shortest(value);
}

QString shortestText(float value)
{
    return shortest(value);
}

} // namespace settings
