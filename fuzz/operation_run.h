// SPDX-License-Identifier: MIT
#pragma once

// Runs the sheet operations one after another on the window's three surfaces, with
// answers, cell size and colours taken from the fuzzer's input, and checks what each
// result must be whatever the input.
#include "fuzz_input.h"
#include "image/raster.h"
#include "image/surface.h"
#include "operations/operation_table.h"
#include "settings/sprite_size.h"

#include <QSet>
#include <cmath>
#include <cstdlib>
#include <variant>

namespace fuzz {

inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The window's surfaces: the working image and the two black scratch surfaces, which
// keep whatever the last operation left in them.
struct Sheets {
    image::Surface work{image::rgb(255, 255, 255)};
    image::Surface scratch{image::rgb(0, 0, 0)};
    image::Surface scratch2{image::rgb(0, 0, 0)};
};

// Milestones rise from 0 to at most 100; ticks come only once the work started.
class CheckedProgress final : public ops::Progress {
public:
    int last = -1;

    void reached(int percent) override
    {
        require(last == -1 ? percent == 0 : percent > last && percent <= 100);
        last = percent;
    }
    void tick() override { require(last >= 0); }
};

inline image::Colour colourAt(const image::Surface& surface, int x, int y)
{
    return image::GetPixel(surface, x, y);
}

inline bool sameColour(image::Colour a, image::Colour b)
{
    return a.pixel() == b.pixel();
}

inline void requireAllBackground(const image::Surface& surface)
{
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            require(colourAt(surface, x, y) == surface.background());
}

inline void checkNpc(const image::Surface& before, const Sheets& sheets, const ops::CountAnswer& sprites,
                     const ops::CountAnswer& columns, settings::SpriteSize size)
{
    const image::Surface& after = sheets.work;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            require(colourAt(after, x, y) != image::rgb(0, 0, 0));
    require(sheets.scratch.width() == after.width() && sheets.scratch.height() == after.height());
    requireAllBackground(sheets.scratch);
    requireAllBackground(sheets.scratch2);

    // Cells already of the cell size: the sheet comes back with only its black changed.
    const double rows = sprites.numeric;
    const double cols = columns.numeric;
    const bool whole = rows >= 1 && cols >= 1 && rows == std::floor(rows) && cols == std::floor(cols)
        && rows <= before.height() && cols <= before.width();
    if (!whole || std::fmod(before.height(), rows) != 0 || std::fmod(before.width(), cols) != 0
        || before.width() / cols != size.width || before.height() / rows != size.height)
        return;
    require(after.width() == before.width() && after.height() == before.height());
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            const image::Colour old = colourAt(before, x, y);
            require(colourAt(after, x, y) == (old == image::rgb(0, 0, 0) ? image::rgb(20, 20, 20) : old));
        }
    }
}

inline void checkNegative(const image::Surface& before, const image::Surface& after, double n)
{
    const int width = before.width();
    require(after.height() == before.height());
    require(std::abs(after.width() - 2 * width) <= 1);
    if (n != std::floor(n) || width % int(n) != 0)
        return;
    // Strips of whole width: each strip, then its negative, side by side.
    const int w = width / int(n);
    require(after.width() == 2 * width);
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < width; ++x) {
            const int k = x / w;
            const int j = x % w;
            const image::Colour old = colourAt(before, x, y);
            require(colourAt(after, 2 * k * w + j, y) == old);
            const image::Colour negative = old == image::rgb(0, 0, 0) ? image::rgb(255, 255, 255) : image::rgb(0, 0, 0);
            require(colourAt(after, 2 * k * w + w + j, y) == negative);
        }
    }
}

inline QByteArray rowBytes(const image::Surface& surface, int y)
{
    return QByteArray(reinterpret_cast<const char*>(surface.row(y)), surface.width() * 4);
}

inline void checkRearranged(const image::Surface& before, const image::Surface& after)
{
    require(after.width() == before.width() && after.height() == before.height());
    // Every row is a whole row of the sheet, or black where no band landed.
    QSet<QByteArray> rows;
    for (int y = 0; y < before.height(); ++y)
        rows.insert(rowBytes(before, y));
    for (int y = 0; y < after.height(); ++y) {
        if (rows.contains(rowBytes(after, y)))
            continue;
        for (int x = 0; x < after.width(); ++x)
            require(colourAt(after, x, y) == image::rgb(0, 0, 0));
    }
}

inline void checkReplaced(const image::Surface& before, const image::Surface& after, image::Colour from,
                          image::Colour to)
{
    require(after.width() == before.width() && after.height() == before.height());
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            const image::Colour old = colourAt(before, x, y);
            require(colourAt(after, x, y) == (sameColour(old, from) ? image::Colour::fromPixel(to.pixel()) : old));
        }
    }
}

inline void checkMirrored(const image::Surface& before, const image::Surface& after, double columns)
{
    require(after.width() == before.width() && after.height() == before.height());
    // Only a whole count that divides the width gets this far.
    const int cell = after.width() / int(columns);
    require(cell * int(columns) == after.width());
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            require(colourAt(after, x, y) == colourAt(before, x / cell * cell + cell - 1 - x % cell, y));
}

// Keying out changes pixels of the corners' colour, or near it, into the key, and no other.
inline void checkKeyedOut(const image::Surface& before, const image::Surface& after, image::Colour key, int tolerance)
{
    require(after.width() == before.width() && after.height() == before.height());
    const image::Colour background = colourAt(before, 0, 0) == colourAt(before, after.width() - 1, 0)
        ? colourAt(before, 0, 0)
        : colourAt(before, 0, after.height() - 1);
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            const image::Colour old = colourAt(before, x, y);
            const image::Colour now = colourAt(after, x, y);
            if (now == old)
                continue;
            require(now == key);
            require(std::abs(old.red() - background.red()) <= tolerance);
            require(std::abs(old.green() - background.green()) <= tolerance);
            require(std::abs(old.blue() - background.blue()) <= tolerance);
        }
    }
}

// A colour the sheet holds, or any colour, as the input says.
inline image::Colour pickColour(const image::Surface& sheet, FuzzInput& input)
{
    const std::uint8_t how = input.byte();
    if (how % 2 == 0 && sheet.width() > 0 && sheet.height() > 0)
        return colourAt(sheet, input.byte() % sheet.width(), input.byte() % sheet.height());
    return image::rgb(input.byte(), input.byte(), input.byte());
}

// What a changed sheet must be after the operation, whatever the answers.
inline void checkResult(const ops::Operation& operation, const image::Surface& before, const Sheets& sheets,
                        const ops::Answers& answers, const ops::OperationSettings& settings)
{
    const QString& name = operation.option.name;
    if (name == QLatin1String("npc"))
        checkNpc(before, sheets, *answers.counts[0], *answers.counts[1], settings.spriteSize);
    else if (name == QLatin1String("negative")) {
        require(answers.counts[0]->strict.has_value());
        checkNegative(before, sheets.work, *answers.counts[0]->strict);
    } else if (name == QLatin1String("rearrange"))
        checkRearranged(before, sheets.work);
    else if (name == QLatin1String("replace"))
        checkReplaced(before, sheets.work, answers.colours[0], answers.colours[1]);
    else if (name == QLatin1String("mirror"))
        checkMirrored(before, sheets.work, answers.counts[0]->numeric);
    else if (name == QLatin1String("key-out-background"))
        checkKeyedOut(before, sheets.work, settings.key, answers.tolerance);
}

inline void runOneOperation(Sheets& sheets, FuzzInput& input)
{
    const image::Surface before = sheets.work; // shares the pixels until they change
    CheckedProgress progress;

    // Read from the input in the order the window asks: the Options panel's cell size,
    // then the prompts, or the colours picked and chosen.
    const auto& table = ops::operationTable();
    const ops::Operation& operation = *table[input.byte() % table.size()];
    Result<settings::SpriteSize> size = settings::SpriteSize();
    if (operation.readsSpriteSize) {
        const QString widthText = input.line();
        const QString heightText = input.line();
        size = settings::readSpriteSize(widthText, heightText);
    }
    ops::WindowAnswers given;
    for (qsizetype i = 0; i < operation.window.prompts.size(); ++i)
        given.texts.append(input.line());
    if (operation.window.picksColour) {
        given.picked = pickColour(sheets.work, input);
        given.chosen = pickColour(sheets.work, input);
    }
    // A size the panel refuses, or a cancelled prompt, runs nothing.
    const auto answers = operation.window.readAnswers(given);
    if (!size || given.texts.contains(QString()) || !answers)
        return;
    const ops::OperationSettings settings{*size, {}};

    ops::Sheets surfaces{sheets.work, sheets.scratch, sheets.scratch2};
    const ops::Outcome outcome = operation.run(surfaces, *answers, settings, progress);
    switch (outcome.kind) {
    case ops::Outcome::Kind::Changed:
        require(progress.last >= 0);
        checkResult(operation, before, sheets, *answers, settings);
        break;
    case ops::Outcome::Kind::Unchanged:
    case ops::Outcome::Kind::Refused:
        // Nothing started, nothing changed.
        require(progress.last == -1);
        require(sheets.work.picture() == before.picture());
        require(outcome.kind == ops::Outcome::Kind::Unchanged || !outcome.message.isEmpty());
        break;
    case ops::Outcome::Kind::Failed:
        require(!outcome.message.isEmpty());
        break;
    }
}

// One to four operations in a row, as a user runs them on one sheet.
inline void runOperations(Sheets& sheets, FuzzInput& input)
{
    const int count = 1 + input.byte() % 4;
    for (int i = 0; i < count; ++i)
        runOneOperation(sheets, input);
}

} // namespace fuzz
