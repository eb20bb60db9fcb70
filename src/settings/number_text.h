// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

namespace settings {

// The numeric reading of a typed text. Blanks, tabs and line feeds anywhere are
// ignored; then an optional sign, decimal digits with at most one period and an
// optional exponent (E, optional sign, digits) are read from the start, or &H / &O
// and a hexadecimal / octal whole number. Reading stops at the first character that
// cannot continue the number; a text that does not start with one reads as 0.
// Never fails: a number beyond double's range reads as an infinity.
double readNumber(QStringView text);

// The strict reading: the whole text, blanks around it aside, must be one number in
// the grammar above (no blanks inside it). nullopt where it is not: the type mismatch.
std::optional<double> readStrictNumber(QStringView text);

// The user-facing text of the type mismatch.
QString typeMismatchText();

// The shortest decimal text that reads back as the same value: 24, -3, 3641.4028.
// Whole numbers have no decimal point; very large or small ones use an exponent.
QString shortestText(double value);
QString shortestText(float value);

} // namespace settings
