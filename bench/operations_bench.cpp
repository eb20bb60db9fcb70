// SPDX-License-Identifier: MIT
// Times each sheet operation on a warm session and compares it with a warm memcpy of
// the sheet's bytes, the most any whole-sheet operation can hope for. Prints one table.
#include "image/bitmap_save.h"
#include "image/indexed_bitmap_save.h"
#include "image/picture_read.h"
#include "image/raster.h"
#include "image/surface.h"
#include "operations/colour_replace.h"
#include "operations/count_answer.h"
#include "operations/grid_guess.h"
#include "operations/mirror.h"
#include "operations/key_out_background.h"
#include "operations/negative.h"
#include "operations/npc_conversion.h"
#include "operations/progress.h"
#include "operations/rearrange.h"
#include "sheet.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 15; // warm runs per figure; the median is shown

using bench::kCells;

ops::CountAnswer count(int n)
{
    return *ops::readCountAnswer(QString::number(n));
}

// One operation as a session runs it: its own working image and scratch surfaces,
// which keep their memory from run to run.
struct Session {
    explicit Session(const image::Surface& sheet) : sheet(sheet) {}

    const image::Surface& sheet;
    image::Surface work{image::kPictureBoxBackground};
    image::Surface scratch{bench::kBlack};
    image::Surface scratch2{bench::kBlack};
    ops::SilentProgress progress;
    QString file;
    std::vector<char> bytes; // the limit's source and destination
    std::vector<char> copy;
    bool freshFile = false; // the file is removed before each run

    // The sheet back in the working image before each run, in the working image's own
    // memory where it can; not timed.
    void reset()
    {
        work.resizeUnfilled(sheet.width(), sheet.height());
        image::BitBlt(work, 0, 0, sheet.width(), sheet.height(), sheet, 0, 0);
        if (freshFile)
            QFile::remove(file);
    }
};

// The disk's own limit for a save: the file's bytes, ready, written to a new file in one
// call and flushed to the disk.
// A failed save would time nothing: it is said at once.
void save(const image::Surface& sheet, const QString& path)
{
    if (const auto written = image::writeBitmap(sheet, path); !written)
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(written.error()));
}

void writeAndFlush(const QString& path, const std::vector<char>& bytes)
{
    const int file = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (file < 0 || ::write(file, bytes.data(), bytes.size()) != ssize_t(bytes.size()) || ::fdatasync(file) != 0)
        std::fprintf(stderr, "writing %s failed\n", qPrintable(path));
    if (file >= 0)
        ::close(file);
}

constexpr image::Colour kMagenta = image::rgb(255, 0, 255);

// The first column of each of the sprite sheet's cells after the first, for a side.
std::vector<int> cellEdges(int side)
{
    std::vector<int> edges;
    for (int cell = 1; cell < kCells; ++cell)
        edges.push_back(cell * side / kCells);
    return edges;
}

struct Operation {
    const char* name;
    std::function<void(Session&)> run;
};

std::vector<Operation> operations()
{
    return {
        {"memcpy", [](Session& s) { std::memcpy(s.copy.data(), s.bytes.data(), s.bytes.size()); }},
        {"replace colour",
         [](Session& s) { ops::replaceColour(s.work, bench::kReplaced, bench::kReplacement, s.progress); }},
        {"NPC black pass", [](Session& s) { ops::replacePureBlack(s.work, s.progress); }},
        {"NPC conversion",
         [](Session& s) {
             ops::convertToNpc(s.work, s.scratch, s.scratch2, count(kCells), count(kCells),
                               settings::SpriteSize{24, 48}, s.progress);
         }},
        {"negative", [](Session& s) { ops::makeNegative(s.work, s.scratch, s.scratch2, count(kCells), s.progress); }},
        {"mirror", [](Session& s) { ops::mirrorSprites(s.work, count(kCells), s.progress); }},
        {"re-arrangement", [](Session& s) { ops::rearrangeRows(s.work, s.scratch, bench::rowOrder(), s.progress); }},
        {"grid guess",
         [](Session& s) {
             if (ops::guessGrid(s.work) != ops::GridGuess{kCells, kCells})
                 std::fprintf(stderr, "the grid guess missed the sheet's %d x %d cells\n", kCells, kCells);
         }},
        {"key out bg",
         [](Session& s) {
             static const std::vector<int> edges = cellEdges(s.work.width());
             ops::keyOutBackground(s.work, kMagenta, 0, {edges, edges}, s.progress);
         }},
        {"BMP load", [](Session& s) { s.work.assign(image::readPicture(s.file)->picture); }},
        {"PNG load, opaque", [](Session& s) { s.work.assign(image::readPicture(s.file)->picture); }},
        {"PNG load, keyed", [](Session& s) { s.work.assign(image::readPicture(s.file)->picture); }},
        {"BMP save", [](Session& s) { save(s.work, s.file); }},
        {"8-bit BMP save",
         [](Session& s) {
             if (const Result<qint64> saved = image::writeIndexedBitmap(s.work, s.file, {bench::kBlack, std::nullopt});
                 !saved)
                 std::fprintf(stderr, "the 8-bit save failed: %s\n", qPrintable(saved.error()));
         }},
        {"BMP save, disk", [](Session& s) { save(s.work, s.file); }},
        {"disk's own", [](Session& s) { writeAndFlush(s.file, s.bytes); }},
    };
}

struct Figures {
    double cold = 0;          // seconds, the first run
    std::vector<double> warm; // seconds, the later runs
};
std::map<std::pair<int, std::string>, Figures> g_figures;

// Files go to a memory file system where there is one, so that the figures are the
// program's and not the disk's; "BMP save, disk" writes to the temporary folder, and
// its file is flushed to the disk before the save returns.
QString memoryFolderTemplate()
{
    return QFileInfo(QStringLiteral("/dev/shm")).isDir() ? QStringLiteral("/dev/shm/pixmold-bench-XXXXXX")
                                                         : QDir::tempPath() + QStringLiteral("/pixmold-bench-XXXXXX");
}

// The sheet of each size, and its BMP file.
struct Sheet {
    image::Surface pixels;
    image::Surface sprites; // what the grid guess and the key-out read
    image::Surface indexed; // what the 8-bit save writes
    QString opaquePng;      // the sprite sheet as RGBA, every pixel opaque
    QString keyedPng;       // the same with its background transparent
    QTemporaryDir memoryFolder{memoryFolderTemplate()};
    QTemporaryDir diskFolder;
    QString file;
};

const Sheet& sheet(int side)
{
    static std::map<int, std::unique_ptr<Sheet>> sheets;
    auto& made = sheets[side];
    if (!made) {
        made = std::make_unique<Sheet>();
        made->pixels = bench::makeSheet(side, side);
        made->sprites = bench::makeSpriteSheet(side, side);
        made->indexed = bench::makeIndexedSheet(side, side);
        QImage sprites = made->sprites.picture().convertToFormat(QImage::Format_ARGB32);
        made->opaquePng = made->memoryFolder.filePath(QStringLiteral("opaque.png"));
        sprites.save(made->opaquePng, "PNG");
        for (int y = 0; y < sprites.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(sprites.scanLine(y));
            for (int x = 0; x < sprites.width(); ++x)
                line[x] = (line[x] & 0xFFFFFFu) == 0 ? 0 : line[x];
        }
        made->keyedPng = made->memoryFolder.filePath(QStringLiteral("keyed.png"));
        sprites.save(made->keyedPng, "PNG");
        made->file = made->memoryFolder.filePath(QStringLiteral("sheet.bmp"));
        save(made->pixels, made->file);
    }
    return *made;
}

QString fileFor(const Sheet& sheet, const std::string& operation)
{
    if (operation == "BMP save" || operation == "8-bit BMP save")
        return sheet.memoryFolder.filePath(QStringLiteral("saved.bmp"));
    if (operation == "BMP save, disk")
        return sheet.diskFolder.filePath(QStringLiteral("saved.bmp"));
    if (operation == "disk's own")
        return sheet.diskFolder.filePath(QStringLiteral("limit.bmp"));
    if (operation == "PNG load, opaque")
        return sheet.opaquePng;
    if (operation == "PNG load, keyed")
        return sheet.keyedPng;
    return sheet.file;
}

// The session of the operation being timed, made at its first repetition, which also
// times the cold run. One at a time: the large sheet's sessions hold hundreds of MiB.
Session& session(int side, const Operation& operation)
{
    static std::unique_ptr<Session> current;
    static std::pair<int, std::string> currentKey;
    const std::pair<int, std::string> key{side, operation.name};
    if (current && currentKey == key)
        return *current;
    current.reset();
    const Sheet& from = sheet(side);
    const std::string& name = key.second;
    current = std::make_unique<Session>(name == "grid guess" || name == "key out bg" ? from.sprites
                                            : name == "8-bit BMP save"               ? from.indexed
                                                                                     : from.pixels);
    currentKey = key;
    current->file = fileFor(from, key.second);
    if (key.second == "memcpy") {
        current->bytes.assign(size_t(side) * size_t(side) * sizeof(QRgb), 1);
        current->copy.assign(current->bytes.size(), 2);
    }
    if (key.second == "disk's own") {
        QFile bmp(from.file);
        const QByteArray content = bmp.open(QIODevice::ReadOnly) ? bmp.readAll() : QByteArray();
        current->bytes.assign(content.begin(), content.end());
        current->freshFile = true;
    }
    current->reset();
    const auto start = Clock::now();
    operation.run(*current);
    g_figures[key].cold = std::chrono::duration<double>(Clock::now() - start).count();
    return *current;
}

void timeRuns(benchmark::State& state, int side, const Operation& operation)
{
    Session& s = session(side, operation);
    for (auto _ : state) {
        s.reset();
        const auto start = Clock::now();
        operation.run(s);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Collects every run and prints the table once all have run.
class TableReporter final : public benchmark::BenchmarkReporter {
public:
    explicit TableReporter(std::vector<int> sides) : m_sides(std::move(sides)) {}

    bool ReportContext(const Context&) override { return true; }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const int side = std::stoi(run.run_name.args);
            g_figures[{side, run.run_name.function_name}].warm.push_back(run.real_accumulated_time
                                                                         / double(run.iterations));
        }
    }

    void Finalize() override
    {
        std::printf("%-16s", "");
        for (int side : m_sides)
            std::printf(" | %-30s", (std::to_string(side) + " x " + std::to_string(side)).c_str());
        std::printf("\n%-16s", "operation");
        for (size_t i = 0; i < m_sides.size(); ++i)
            std::printf(" | %9s %9s %10s", "warm ms", "x memcpy", "cold ms");
        std::printf("\n");
        for (const Operation& operation : operations()) {
            // Operations left out by --benchmark_filter have no figures.
            if (std::none_of(m_sides.begin(), m_sides.end(), [&](int side) {
                    return !g_figures[{side, operation.name}].warm.empty();
                }))
                continue;
            std::printf("%-16s", operation.name);
            for (int side : m_sides) {
                const double limit = median(g_figures[{side, "memcpy"}].warm);
                const Figures& f = g_figures[{side, operation.name}];
                const double warm = median(f.warm);
                if (limit > 0)
                    std::printf(" | %9.2f %9.2f %10.2f", warm * 1e3, warm / limit, f.cold * 1e3);
                else
                    std::printf(" | %9.2f %9s %10.2f", warm * 1e3, "-", f.cold * 1e3);
            }
            std::printf("\n");
        }
        std::printf("median of %d warm runs each; memcpy moves the sheet's bytes between two warm buffers\n", kRuns);
        const auto where = [](const QString& path) {
            return QStringLiteral("%1 (%2)").arg(QFileInfo(path).path(),
                                                 QString::fromLatin1(QStorageInfo(path).fileSystemType()));
        };
        const Sheet& files = sheet(m_sides.back());
        std::printf("BMP files in %s; \"disk\" saves in %s; \"disk's own\" writes the same file's\n"
                    "bytes there in one call and flushes them, with no picture to pack\n",
                    qPrintable(where(files.memoryFolder.path())), qPrintable(where(files.diskFolder.path())));
    }

private:
    std::vector<int> m_sides;
};

} // namespace

int main(int argc, char** argv)
{
    const std::vector<int> sides{4096, 1024};
    for (int side : sides)
        for (const Operation& operation : operations())
            benchmark::RegisterBenchmark(operation.name, timeRuns, side, operation)
                ->Arg(side)
                ->Iterations(1)
                ->Repetitions(kRuns)
                ->UseManualTime();
    benchmark::Initialize(&argc, argv);
    TableReporter table(sides);
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    return 0;
}
