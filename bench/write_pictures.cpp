// SPDX-License-Identifier: MIT
// Writes the pictures bench/load_memory loads, each of the largest size a surface takes
// (or as large as a progressive JPEG may be), without ever holding one whole in a deeper
// format: PNG through libpng row by row.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kSide = 16384;

// A picture that compresses well but is not flat: diagonal bands.
int sample(int x, int y, int channel)
{
    return ((x + y * 3) / 16 + channel * 40) & 0xFF;
}

bool writePng(const QString& path, int colourType, int depth, bool interlaced)
{
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, kSide, kSide, depth, colourType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        std::vector<png_color> palette(256);
        for (int i = 0; i < 256; ++i)
            palette[size_t(i)] = {png_byte(i), png_byte(255 - i), png_byte(i / 2)};
        png_set_PLTE(png, info, palette.data(), 256);
    }
    png_write_info(png, info);
    if (depth == 16)
        png_set_swap(png); // the rows below are written in the machine's order
    const int channels = png_get_channels(png, info);
    const int passes = png_set_interlace_handling(png);
    std::vector<png_byte> row(size_t(kSide) * channels * (depth / 8));
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                for (int c = 0; c < channels; ++c) {
                    const int value = sample(x, y, c);
                    if (depth == 16)
                        reinterpret_cast<png_uint_16*>(row.data())[size_t(x) * channels + c] = png_uint_16(value * 257);
                    else
                        row[size_t(x) * channels + c] = png_byte(value);
                }
            }
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

bool writeGreyPgm(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QByteArray("P5\n") + QByteArray::number(kSide) + ' ' + QByteArray::number(kSide) + "\n255\n");
    QByteArray row(kSide, '\0');
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x)
            row[x] = char(sample(x, y, 0));
        if (file.write(row) != row.size())
            return false;
    }
    return true;
}

// An icon whose one picture is the PNG file given, whole.
bool writeIcon(const QString& path, const QString& pngPath)
{
    QFile png(pngPath);
    QFile icon(path);
    if (!png.open(QIODevice::ReadOnly) || !icon.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = png.readAll();
    QByteArray entry(16, '\0');
    qToLittleEndian<quint16>(1, entry.data() + 4);
    qToLittleEndian<quint16>(32, entry.data() + 6);
    qToLittleEndian<quint32>(quint32(bytes.size()), entry.data() + 8);
    qToLittleEndian<quint32>(6 + 16, entry.data() + 12);
    return icon.write(QByteArray("\0\0\1\0\1\0", 6) + entry + bytes) == 6 + 16 + bytes.size();
}

// Progressive colour JPEG (4:2:0) of a size the load takes or not; baseline of the largest size.
bool writeJpeg(const QString& path, int side, bool progressive)
{
    QImage picture(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < side; ++x)
            line[x] = qRgb(sample(x, y, 0), sample(x, y, 1), sample(x, y, 2));
    }
    QImageWriter writer(path, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    return writer.write(picture);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool written = writePng(folder.filePath("rgba16.png"), PNG_COLOR_TYPE_RGB_ALPHA, 16, false)
        && writeIcon(folder.filePath("rgba16.ico"), folder.filePath("rgba16.png"))
        && writePng(folder.filePath("rgb16-interlaced.png"), PNG_COLOR_TYPE_RGB, 16, true)
        && writePng(folder.filePath("grey16.png"), PNG_COLOR_TYPE_GRAY, 16, false)
        && writePng(folder.filePath("grey8.png"), PNG_COLOR_TYPE_GRAY, 8, false)
        && writePng(folder.filePath("palette.png"), PNG_COLOR_TYPE_PALETTE, 8, false)
        && writeGreyPgm(folder.filePath("grey.pgm")) && writeJpeg(folder.filePath("progressive.jpg"), 5760, true)
        && writeJpeg(folder.filePath("progressive-refused.jpg"), 8192, true)
        && writeJpeg(folder.filePath("baseline.jpg"), 16384, false);
    return written ? 0 : 1;
}
