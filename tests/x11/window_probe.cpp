// SPDX-License-Identifier: MIT
// The eyes and the reference of the X11 scripts: writes the test sheet, computes what
// the window must produce from it, finds a picture on the X screen and grabs the screen.
#include "image/bitmap_save.h"
#include "image/picture_read.h"
#include "image/qcolor_conversion.h"
#include "image/raster.h"
#include "operations/colour_replace.h"
#include "operations/count_answer.h"
#include "operations/npc_conversion.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

void say(const QString& text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
}

int usage()
{
    say(QStringLiteral("usage: window_probe sheet|walkers OUT.bmp\n"
                       "       window_probe expect SHEET SPRITES COLUMNS X Y #RRGGBB CONVERTED.bmp FINAL.bmp\n"
                       "       window_probe compare EXPECTED ACTUAL\n"
                       "       window_probe find PICTURE [--settled]\n"
                       "       window_probe grab OUT.png [X Y W H]"));
    return 2;
}

void fill(QImage& sheet, int x, int y, int w, int h, QRgb colour)
{
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            sheet.setPixel(column, row, colour);
}

// 100 x 130: two rows of three cells that do not divide the width evenly (33.33 px).
// Each cell holds its own colour block, a line of pure black (which the conversion
// turns near-black), a block of RGB(0, 0, 1) (which is not pure black) and a block one
// step off the background red (which the colour replacement must leave alone); the
// lower half of every cell is the background red.
int writeSheet(const QString& path)
{
    QImage sheet(100, 130, QImage::Format_RGB32);
    sheet.fill(qRgb(200, 40, 40));
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int k = row * 3 + column;
            const int x0 = column * 100 / 3;
            const int y0 = row * 65;
            fill(sheet, x0 + 2, y0 + 2, 12, 20, qRgb(30 + 35 * k, 160, 60 + 25 * k));
            fill(sheet, x0 + 16, y0 + 2, 13, 11, qRgb(201, 40, 40));
            fill(sheet, x0 + 2, y0 + 30, 27, 3, qRgb(0, 0, 0));
            fill(sheet, x0 + 16, y0 + 14, 5, 5, qRgb(0, 0, 1));
        }
    }
    // A corner of its own, so the sheet is easy to find on screen.
    fill(sheet, 0, 0, 5, 5, qRgb(1, 254, 3));
    if (!sheet.save(path, "BMP")) {
        say(QStringLiteral("cannot write ") + path);
        return 1;
    }
    return 0;
}

// For the README's picture: three walkers of four frames each, on black.
int writeWalkers(const QString& path)
{
    constexpr int kCellWidth = 40;
    constexpr int kCellHeight = 64;
    const QColor shirts[] = {QColor(40, 110, 210), QColor(200, 60, 50), QColor(60, 160, 80)};
    const int swing[] = {-6, 0, 6, 0}; // legs and arms, frame by frame
    QImage sheet(4 * kCellWidth, 3 * kCellHeight, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    QPainter painter(&sheet);
    for (int row = 0; row < 3; ++row) {
        for (int frame = 0; frame < 4; ++frame) {
            const int cx = frame * kCellWidth + kCellWidth / 2;
            const int top = row * kCellHeight + 6;
            const int s = swing[frame];
            painter.setPen(QPen(QColor(70, 50, 40), 4));
            painter.drawLine(cx - 2, top + 38, cx - 2 + s, top + 54);
            painter.drawLine(cx + 2, top + 38, cx + 2 - s, top + 54);
            painter.setPen(QPen(QColor(235, 190, 150), 3));
            painter.drawLine(cx - 8, top + 16, cx - 9 - (s < 0 ? 5 : 0), top + 32);
            painter.drawLine(cx + 8, top + 16, cx + 9 + (s > 0 ? 5 : 0), top + 32);
            painter.fillRect(cx - 7, top + 14, 14, 26, shirts[row]);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(235, 190, 150));
            painter.drawEllipse(QPoint(cx, top + 7), 7, 7);
            painter.setBrush(QColor(90, 60, 30));
            painter.drawChord(QRect(cx - 7, top, 14, 12), 0, 180 * 16);
        }
    }
    painter.end();
    if (!sheet.save(path, "BMP")) {
        say(QStringLiteral("cannot write ") + path);
        return 1;
    }
    return 0;
}

std::optional<image::Surface> readSurface(const QString& path)
{
    const auto read = image::readPicture(path);
    if (!read) {
        say(path + QStringLiteral(": ") + read.error());
        return std::nullopt;
    }
    image::Surface surface;
    surface.assign(read->picture);
    return surface;
}

bool writeSurface(const image::Surface& surface, const QString& path)
{
    if (const auto written = image::writeBitmap(surface, path); !written) {
        say(path + QStringLiteral(": ") + written.error());
        return false;
    }
    return true;
}

// What the window must show and save after the same answers: NPC conversion at the
// start-up cell size, then the colour at (x, y) of the converted sheet replaced.
int writeExpected(const QStringList& args)
{
    auto work = readSurface(args[0]);
    const auto sprites = ops::readCountAnswer(args[1]);
    const auto columns = ops::readCountAnswer(args[2]);
    const QColor colour = QColor::fromString(args[5]);
    if (!work || !sprites || !columns || !colour.isValid())
        return usage();

    image::Surface scratch(image::rgb(0, 0, 0));
    image::Surface scratch2(image::rgb(0, 0, 0));
    ops::SilentProgress silent;
    const ops::Outcome converted = ops::convertToNpc(*work, scratch, scratch2, *sprites, *columns, {}, silent);
    if (converted.kind != ops::Outcome::Kind::Changed) {
        say(QStringLiteral("the conversion did not change the sheet: ") + converted.message);
        return 1;
    }
    if (!writeSurface(*work, args[6]))
        return 1;

    const image::Colour picked = image::GetPixel(*work, args[3].toInt(), args[4].toInt());
    ops::replaceColour(*work, picked, image::fromQColor(colour), silent);
    return writeSurface(*work, args[7]) ? 0 : 1;
}

int compare(const QString& expectedPath, const QString& actualPath)
{
    const auto expected = readSurface(expectedPath);
    const auto actual = readSurface(actualPath);
    if (!expected || !actual)
        return 1;
    if (expected->width() != actual->width() || expected->height() != actual->height()) {
        say(QStringLiteral("size %1 x %2, expected %3 x %4")
                .arg(actual->width())
                .arg(actual->height())
                .arg(expected->width())
                .arg(expected->height()));
        return 1;
    }
    int differing = 0;
    for (int y = 0; y < expected->height(); ++y) {
        for (int x = 0; x < expected->width(); ++x) {
            const image::Colour want = image::GetPixel(*expected, x, y);
            const image::Colour got = image::GetPixel(*actual, x, y);
            if (want != got && differing++ == 0)
                say(QStringLiteral("first difference at (%1, %2): %3, expected %4")
                        .arg(x)
                        .arg(y)
                        .arg(got.bgr(), 6, 16, QLatin1Char('0'))
                        .arg(want.bgr(), 6, 16, QLatin1Char('0')));
        }
    }
    if (differing > 0) {
        say(QStringLiteral("%1 pixels differ").arg(differing));
        return 1;
    }
    return 0;
}

QImage grabScreen()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

bool sameColour(QRgb a, QRgb b)
{
    return ((a ^ b) & 0xFFFFFF) == 0;
}

bool shownAt(const QImage& screen, const QImage& picture, int left, int top)
{
    for (int y = 0; y < picture.height(); ++y) {
        const QRgb* want = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const QRgb* got = reinterpret_cast<const QRgb*>(screen.constScanLine(top + y)) + left;
        for (int x = 0; x < picture.width(); ++x)
            if (!sameColour(want[x], got[x]))
                return false;
    }
    return true;
}

// The window's progress bar stands below the viewport, in the band between the
// viewport's lower edge and the window's. With the bar hidden that band is plain
// window background; while it shows, it is not. The viewport's inner area is found
// from the sheet's corner by following the grey that surrounds a small sheet.
bool progressBarHidden(const QImage& screen, const QImage& picture, int left, int top)
{
    const QRgb grey = qRgb(128, 128, 128);
    int bottom = top + picture.height();
    if (bottom >= screen.height() || screen.pixel(left, bottom) != grey)
        return false; // the sheet fills the viewport's height: nothing to go by
    while (bottom + 1 < screen.height() && screen.pixel(left, bottom + 1) == grey)
        ++bottom;
    int right = left + picture.width();
    while (right + 1 < screen.width() && screen.pixel(right + 1, bottom) == grey)
        ++right;

    constexpr int kBorder = 4;
    constexpr int kBand = 40;
    const int bandTop = bottom + 1 + kBorder;
    if (bandTop + kBand > screen.height())
        return false;
    const QRgb background = screen.pixel(left, bandTop);
    for (int y = bandTop; y < bandTop + kBand; ++y)
        for (int x = left; x <= right; ++x)
            if (screen.pixel(x, y) != background)
                return false;
    return true;
}

// Prints where the picture's top-left pixel is on the screen. With --settled the
// window must also have hidden its progress bar, which it does only once an
// operation has returned: a key pressed before that would be ignored.
int find(const QString& path, bool settled)
{
    const QImage picture = QImage(path).convertToFormat(QImage::Format_RGB32);
    if (picture.isNull()) {
        say(QStringLiteral("cannot read ") + path);
        return 2;
    }
    const QImage screen = grabScreen();
    if (screen.isNull()) {
        say(QStringLiteral("cannot grab the screen"));
        return 2;
    }
    // Candidates must show the corner's colour and that of the first pixel unlike it,
    // so a sheet on black is not tried at every black pixel of the screen.
    const QRgb corner = picture.pixel(0, 0);
    int anchor = 0;
    const int area = picture.width() * picture.height();
    while (anchor + 1 < area && sameColour(picture.pixel(anchor % picture.width(), anchor / picture.width()), corner))
        ++anchor;
    const int ax = anchor % picture.width();
    const int ay = anchor / picture.width();
    const QRgb anchorColour = picture.pixel(ax, ay);

    for (int top = 0; top + picture.height() <= screen.height(); ++top) {
        const QRgb* row = reinterpret_cast<const QRgb*>(screen.constScanLine(top));
        const QRgb* anchorRow = reinterpret_cast<const QRgb*>(screen.constScanLine(top + ay));
        for (int left = 0; left + picture.width() <= screen.width(); ++left) {
            if (!sameColour(row[left], corner) || !sameColour(anchorRow[left + ax], anchorColour)
                || !shownAt(screen, picture, left, top))
                continue;
            if (settled && !progressBarHidden(screen, picture, left, top))
                return 1;
            QTextStream(stdout) << left << " " << top << "\n";
            return 0;
        }
    }
    return 1;
}

int grab(const QString& path, const QStringList& rectangle)
{
    QImage screen = grabScreen();
    if (rectangle.size() == 4)
        screen = screen.copy(rectangle[0].toInt(), rectangle[1].toInt(), rectangle[2].toInt(), rectangle[3].toInt());
    if (screen.isNull() || !screen.save(path, "PNG")) {
        say(QStringLiteral("cannot grab the screen into ") + path);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    // Only the screen needs a display; the rest runs anywhere.
    const bool onScreen = command == QLatin1String("find") || command == QLatin1String("grab");
    std::unique_ptr<QCoreApplication> app;
    if (onScreen)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(2);

    if (command == QLatin1String("sheet") && args.size() == 1)
        return writeSheet(args[0]);
    if (command == QLatin1String("walkers") && args.size() == 1)
        return writeWalkers(args[0]);
    if (command == QLatin1String("expect") && args.size() == 8)
        return writeExpected(args);
    if (command == QLatin1String("compare") && args.size() == 2)
        return compare(args[0], args[1]);
    if (command == QLatin1String("find")
        && (args.size() == 1 || (args.size() == 2 && args[1] == QLatin1String("--settled"))))
        return find(args[0], args.size() == 2);
    if (command == QLatin1String("grab") && (args.size() == 1 || args.size() == 5))
        return grab(args[0], args.mid(1));
    return usage();
}
