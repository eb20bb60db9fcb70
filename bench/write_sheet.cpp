// SPDX-License-Identifier: MIT
// Writes the benchmarks' sheet of the size asked as a BMP file, and prints the row order
// that moves every one of its bands: for bench/compare.
#include "sheet.h"
#include "image/bitmap_save.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    bool wide = false, high = false, rows = false;
    const int width = arguments.value(1).toInt(&wide);
    const int height = arguments.value(2).toInt(&high);
    const int bands = arguments.value(4).toInt(&rows);
    if (arguments.size() != 5 || !wide || !high || !rows || width < 1 || height < 1 || bands < 2) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT OUTPUT.bmp ROWS\n", argv[0]);
        return 2;
    }
    if (const auto written = image::writeBitmap(bench::makeSheet(width, height), arguments[3]); !written) {
        std::fprintf(stderr, "%s\n", qPrintable(written.error()));
        return 1;
    }
    std::printf("%s\n", qPrintable(bench::rowOrder(bands)));
    return 0;
}
