// SPDX-License-Identifier: MIT
#include "sheet_document.h"

#include "image/picture_read.h"
#include "image/raster.h"
#include "operations/frame_files.h"
#include "operations/grid_guess.h"

#include <QDir>
#include <QScopeGuard>

namespace shell {

namespace {

// Design size of the hidden picture boxes, in pixels.
constexpr int kWorkWidth = 1095 / 15, kWorkHeight = 3135 / 15;
constexpr int kScratchWidth = 720 / 15, kScratchHeight = 2880 / 15;

} // namespace

SheetDocument::SheetDocument(QObject* parent)
    : QObject(parent), m_picPic1(image::kPictureBoxBackground, kWorkWidth, kWorkHeight),
      m_picsetup(image::rgb(0, 0, 0), kScratchWidth, kScratchHeight),
      m_picsetup1(image::rgb(0, 0, 0), kScratchWidth, kScratchHeight), m_history([this](const SheetState& state) {
          m_picPic1.restore(state.picture);
          setGrid(state.grid);
          emit restored();
      })
{
}

Result<void> SheetDocument::load(const QString& path, const image::TransparencyKey& key)
{
    const auto read = image::readPicture(path, key);
    if (!read)
        return Failure{read.error()};
    try {
        m_picPic1.assign(read->picture);
    } catch (const image::SurfaceError& error) {
        return Failure{QString::fromUtf8(error.what())};
    }
    m_loaded = true;
    m_history.clear();
    // Before any operation, the grid is the one guessed, if any.
    setGrid(guessGrid().value_or(CellGrid{}));
    return {};
}

void SheetDocument::run(const QString& name, const Work& work, const CellGrid& grid, ops::Progress& progress,
                        const std::function<void(const ops::Outcome&)>& then)
{
    m_busy = true;
    emit busyChanged(true);
    const auto done = qScopeGuard([this] {
        m_busy = false;
        emit busyChanged(false);
    });
    const SheetState before(m_picPic1.picture(), m_grid);
    ops::Sheets sheets{m_picPic1, m_picsetup, m_picsetup1};
    const ops::Outcome outcome = work(sheets, progress);
    if (outcome.kind == ops::Outcome::Kind::Changed) {
        setGrid(grid);
        m_history.record(name, before, SheetState(m_picPic1.picture(), m_grid));
    }
    then(outcome);
}

Result<void> SheetDocument::importFrames(const QStringList& paths, double columns, image::Colour key)
{
    const auto named = [](const ops::FrameFileError& error) {
        return Failure{QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(error.file), error.reason)};
    };
    const auto size = ops::commonFrameSize(paths);
    if (!size)
        return named(size.error());
    const auto layout = ops::frameLayout(int(paths.size()), columns, *size);
    if (!layout)
        return Failure{layout.error()};
    ops::SilentProgress progress;
    const auto read = [key](const QString& path) { return image::readPicture(path, image::TransparencyKey{key}); };
    if (const auto joined = ops::joinFrameFiles(paths, *layout, key, read, m_picPic1, progress); !joined)
        return named(joined.error());
    m_loaded = true;
    m_history.clear();
    setGrid(CellGrid{double(layout->rows), double(layout->columns)});
    return {};
}

std::optional<CellGrid> SheetDocument::guessGrid() const
{
    const std::optional<ops::GridGuess> guess = ops::guessGrid(m_picPic1);
    if (!guess)
        return std::nullopt;
    return CellGrid{{double(guess->rows), double(guess->columns)}, true};
}

void SheetDocument::setGrid(const CellGrid& grid)
{
    m_grid = grid;
    emit gridChanged();
}

} // namespace shell
