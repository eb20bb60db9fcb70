// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

namespace settings {

// The numeric reading of a typed text. Blanks, tabs and line feeds anywhere are
// ignored; then an optional sign, decimal digits with at most one period and an
// optional exponent (E, optional sign, digits) are read from the start, or &H / &O
// and an unsigned hexadecimal / octal whole number (no sign before the &). Letters are
// read in either case, the decimal point is a period whatever the locale. Reading stops
// at the first character that cannot continue the number ("1e" reads 1); a text that
// does not start with one reads as 0. Never fails: a number beyond double's range reads
// as an infinity, one too small as 0.
double readNumber(QStringView text);

// The strict reading: the whole text, blanks around it aside, must be one number in
// the grammar above (no blanks inside it, digits in every part begun: not ".", "1e",
// "&H"). nullopt where it is not: the type mismatch. An overflow still reads as an
// infinity.
std::optional<double> readStrictNumber(QStringView text);

// The user-facing text of the type mismatch.
QString typeMismatchText();

// The shortest decimal text that reads back as the same value: 24, -3, 3641.4028.
// Whole numbers have no decimal point; magnitudes from 1e15 up and below 1e-4 use an
// exponent (1e+20, 1e-07). NaN and the infinities: "NaN", "Infinity", "-Infinity".
QString shortestText(double value);
QString shortestText(float value);

} // namespace settings
