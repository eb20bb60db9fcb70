// SPDX-License-Identifier: MIT
#pragma once

#include "image/raster.h"
#include "image/surface.h"

#include <QStringList>
#include <random>

// The sheets every benchmark works on.
namespace bench {

inline constexpr int kCells = 64; // sprites and animation columns of the sheets
inline constexpr image::Colour kBlack = image::rgb(0, 0, 0);
inline constexpr image::Colour kReplaced = image::rgb(255, 0, 0);
inline constexpr image::Colour kReplacement = image::rgb(0, 0, 255);

// Random colours from a fixed seed, about 20 % exact black and 10 % the colour the
// replacement looks for, which the top-left pixel has.
inline image::Surface makeSheet(int width, int height)
{
    image::Surface sheet(image::kPictureBoxBackground, width, height);
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int p = percent(random);
            image::SetPixel(sheet, x, y, p < 20 ? kBlack : p < 30 ? kReplaced : image::Colour::fromBgr(colour(random)));
        }
    image::SetPixel(sheet, 0, 0, kReplaced);
    return sheet;
}

// A sprite sheet as the grid guess sees one: kCells x kCells cells, each with an ellipse
// of random colours, most of the cell wide and high, on a black background.
inline image::Surface makeSpriteSheet(int width, int height)
{
    image::Surface sheet(kBlack, width, height);
    std::mt19937 random(20240918);
    std::uniform_int_distribution<std::uint32_t> colour(1, 0xFFFFFF);
    const int cellWidth = width / kCells;
    const int cellHeight = height / kCells;
    for (int row = 0; row < kCells; ++row)
        for (int column = 0; column < kCells; ++column) {
            const int w = cellWidth - 2 - int(random() % (cellWidth / 4));
            const int h = cellHeight - 2 - int(random() % (cellHeight / 4));
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const double u = (2.0 * x + 1 - w) / w;
                    const double v = (2.0 * y + 1 - h) / h;
                    if (u * u + v * v <= 1)
                        image::SetPixel(sheet, column * cellWidth + (cellWidth - w) / 2 + x,
                                        row * cellHeight + (cellHeight - h) / 2 + y,
                                        image::Colour::fromBgr(colour(random)));
                }
        }
    return sheet;
}

// A sheet for 8-bit files: every pixel one of 256 colours (black, the key, among them)
// at random from a fixed seed, so that no run of one colour spares a look-up.
inline image::Surface makeIndexedSheet(int width, int height)
{
    image::Surface sheet(kBlack, width, height);
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::uint32_t> colour(1, 0xFFFFFF);
    image::Colour colours[256] = {kBlack};
    for (int i = 1; i < 256; ++i)
        colours[i] = image::Colour::fromBgr(colour(random));
    std::uniform_int_distribution<int> pick(0, 255);
    for (int y = 0; y < height; ++y) {
        QRgb* line = sheet.row(y);
        for (int x = 0; x < width; ++x)
            line[x] = colours[pick(random)].pixel();
    }
    return sheet;
}

// Every one of `rows` bands moves: the last first, then the first, the second last, the
// second, ...
inline QString rowOrder(int rows = kCells)
{
    QStringList order;
    for (int i = 0; i < rows / 2; ++i)
        order << QString::number(rows - i) << QString::number(i + 1);
    return order.join(QLatin1Char(','));
}

} // namespace bench
