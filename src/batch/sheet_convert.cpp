// SPDX-License-Identifier: MIT
#include "sheet_convert.h"

#include "image/bitmap_save.h"
#include "image/picture_read.h"
#include "operations/colour_replace.h"
#include "operations/negative.h"
#include "operations/npc_conversion.h"
#include "operations/progress.h"
#include "operations/rearrange.h"

#include <new>

namespace batch {

namespace {

// The steps' scratch surfaces live as long as the sheet's run, as the window's do.
struct Runner {
    Runner(image::Surface& sheet, const Job& job) : sheet(sheet), job(job) {}

    image::Surface& sheet;
    const Job& job;
    image::Surface scratch{image::rgb(0, 0, 0)};
    image::Surface scratch2{image::rgb(0, 0, 0)};
    ops::SilentProgress progress;

    ops::Outcome operator()(const NpcStep& step)
    {
        return ops::convertToNpc(sheet, scratch, scratch2, step.sprites, step.columns, job.spriteSize, progress);
    }
    ops::Outcome operator()(const NegativeStep& step)
    {
        return ops::makeNegative(sheet, scratch, scratch2, step.columns, progress);
    }
    ops::Outcome operator()(const RearrangeStep& step)
    {
        return ops::rearrangeRows(sheet, scratch, step.order, progress);
    }
    ops::Outcome operator()(const ReplaceStep& step) { return ops::replaceColour(sheet, step.from, step.to, progress); }
};

} // namespace

std::optional<QString> applySteps(image::Surface& sheet, const Job& job)
{
    Runner runner(sheet, job);
    for (const Step& step : job.steps) {
        const ops::Outcome outcome = std::visit(runner, step.action);
        if (outcome.kind == ops::Outcome::Kind::Refused || outcome.kind == ops::Outcome::Kind::Failed)
            return QStringLiteral("%1: %2").arg(step.option, outcome.message);
    }
    return std::nullopt;
}

std::optional<FileError> convertFile(const Job& job, const QString& input, const QString& output)
{
    try {
        image::PictureRead read = image::readPicture(input);
        if (!read.error.isEmpty())
            return FileError{input, read.error};
        // The working image's background: the negative shows it where a rounded strip
        // reaches past the sheet's right edge.
        image::Surface sheet(image::kPictureBoxBackground);
        sheet.assign(read.picture);
        // The sheet's pixels are then its own alone, and the steps write them in place.
        read.picture = QImage();

        if (const auto stopped = applySteps(sheet, job))
            return FileError{input, *stopped};
        if (const auto unwritten = image::writeBitmap(sheet, output))
            return FileError{output, *unwritten};
        return std::nullopt;
    } catch (const image::SurfaceError& error) {
        return FileError{input, QString::fromUtf8(error.what())};
    } catch (const std::bad_alloc&) {
        return FileError{input, QStringLiteral("Not enough memory to convert this picture.")};
    }
}

} // namespace batch
