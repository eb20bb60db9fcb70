// SPDX-License-Identifier: MIT
// A file's bytes loaded into the working image as the window loads them: read, taken by
// the working image, its corner drawn into the viewport.
#include "image/picture_read.h"
#include "image/raster.h"
#include "image/surface.h"

#include <QBuffer>
#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Image format plugins are found through the application.
    static QCoreApplication app(*argc, *argv);
    // The readers' warnings about broken files would drown the fuzzer's own output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const auto read = image::readPicture(buffer);

    if (!read) {
        require(!read.error().isEmpty());
        return 0;
    }
    const QImage& picture = read->picture;
    require(picture.format() == QImage::Format_RGB32);
    require(picture.width() > 0 && picture.height() > 0);
    require(qint64(picture.width()) * picture.height() <= image::Surface::kMaxPixels);
    for (int y : {0, picture.height() - 1}) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            require(qAlpha(line[x]) == 0xFF);
    }

    image::Surface working(image::rgb(255, 255, 255));
    working.assign(picture);
    require(working.width() == picture.width() && working.height() == picture.height());
    image::Surface viewport(image::rgb(128, 128, 128), 640, 480);
    image::BitBlt(viewport, 0, 0, viewport.width(), viewport.height(), working, 0, 0);
    const int x = working.width() - 1;
    const int y = working.height() - 1;
    require(image::GetPixel(working, x, y) == image::Colour::fromPixel(picture.pixel(x, y)));
    return 0;
}
