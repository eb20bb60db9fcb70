// SPDX-License-Identifier: MIT
// The readings of typed text, and what must hold between them.
#include "fuzz_input.h"
#include "operations/count_answer.h"
#include "settings/number_text.h"
#include "settings/sprite_size.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool same(double a, double b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

void checkText(const QString& text)
{
    const double numeric = settings::readNumber(text);
    require(!std::isnan(numeric));

    // A text that is wholly a number reads the same both ways.
    if (const auto strict = settings::readStrictNumber(text)) {
        require(!std::isnan(*strict));
        require(*strict == numeric);
    }

    const auto count = ops::readCountAnswer(text);
    require(count.has_value() == !text.isEmpty());
    if (count) {
        require(count->numeric != 0 && !std::isnan(count->numeric));
        require(count->numeric == (numeric == 0 ? 1 : numeric));
        if (count->strict)
            require(*count->strict == count->numeric);
    }

    if (std::isfinite(numeric)) {
        const QString shortest = settings::shortestText(numeric);
        require(same(settings::readNumber(shortest), numeric == 0 ? 0.0 : numeric));
        const auto strict = settings::readStrictNumber(shortest);
        require(strict && *strict == numeric);
    }
}

// The shortest text of every finite double and float reads back as that value.
void checkShortest(double value)
{
    if (!std::isfinite(value))
        return;
    const QString text = settings::shortestText(value);
    const auto strict = settings::readStrictNumber(text);
    require(strict && *strict == value);
    require(settings::readNumber(text) == value);

    const float single = float(value);
    if (std::isfinite(single)) {
        const auto back = settings::readStrictNumber(settings::shortestText(single));
        require(back && float(*back) == single);
    }
}

void checkSpriteSize(const QString& width, const QString& height)
{
    const auto read = settings::readSpriteSize(width, height);
    if (read) {
        require(std::isfinite(read->width) && std::floor(read->width) == read->width);
        require(!std::signbit(read->width) || read->width < 0);
    } else {
        require(!read.error().isEmpty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        checkShortest(raw);
    }
    FuzzInput input(data, size);
    const QString first = input.line();
    const QString second = input.line();
    checkText(first);
    checkText(second);
    checkSpriteSize(first, second);
    // The same text through the UTF-16 path: any code unit, lone surrogates included.
    const QByteArray rest = input.rest();
    checkText(QString(reinterpret_cast<const QChar*>(rest.constData()), rest.size() / 2));
    return 0;
}
