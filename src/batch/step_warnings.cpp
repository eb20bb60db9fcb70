// SPDX-License-Identifier: MIT
#include "step_warnings.h"

#include "operations/rearrange.h"

#include "row_order.h"
#include "settings/number_text.h"

#include <cmath>

namespace batch {

namespace {

// What is left of `pixels` after `count` equal parts of whole pixels: the rounding of
// each part's place and size then shows.
double leftOver(double pixels, double count)
{
    const double part = std::floor(pixels / count);
    const double rest = pixels - part * count;
    // Fractional counts leave rests such as 1e-13 that are no pixels at all.
    return rest < 1e-6 ? 0 : std::round(rest * 100) / 100;
}

void checkDivides(QStringList& warnings, const Step& step, double count, const char* parts, const char* side,
                  int pixels)
{
    // More parts than pixels is no near miss; the operation says what it makes of it.
    const double rest = count > pixels ? 0 : leftOver(pixels, count);
    if (rest == 0)
        return;
    warnings.append(
        QStringLiteral("%1: %2 %3 do not divide the %4 of %5 pixels evenly (%6 %7 left over); "
                       "each %8 is placed and sized by rounding.")
            .arg(step.option, settings::shortestText(count), QLatin1String(parts), QLatin1String(side))
            .arg(pixels)
            .arg(settings::shortestText(rest), rest == 1 ? QStringLiteral("pixel is") : QStringLiteral("pixels are"))
            .arg(QLatin1String(parts).chopped(1)));
}

} // namespace

QStringList stepWarnings(const Step& step, int width, int height)
{
    QStringList warnings;
    if (const auto* npc = std::get_if<NpcStep>(&step.action)) {
        checkDivides(warnings, step, npc->sprites->numeric, "rows", "height", height);
        checkDivides(warnings, step, npc->columns->numeric, "columns", "width", width);
    } else if (const auto* negative = std::get_if<NegativeStep>(&step.action)) {
        checkDivides(warnings, step, negative->columns->numeric, "columns", "width", width);
    } else if (const auto* rearrange = std::get_if<RearrangeStep>(&step.action)) {
        const qsizetype rows = ops::rearrangedBandCount(rearrange->order);
        checkDivides(warnings, step, double(rows), "rows", "height", height);
        if (const QStringList outside = rowsOutside(rearrange->order); !outside.isEmpty())
            warnings.append(
                QStringLiteral("%1: %2 %3 no row of the %4 the sheet is cut into; %5 black.")
                    .arg(step.option, outside.join(QStringLiteral(", ")),
                         outside.size() == 1 ? QStringLiteral("names") : QStringLiteral("name"))
                    .arg(rows)
                    .arg(outside.size() == 1 ? QStringLiteral("its band is") : QStringLiteral("their bands are")));
    }
    return warnings;
}

} // namespace batch
