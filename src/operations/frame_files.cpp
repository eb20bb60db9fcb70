// SPDX-License-Identifier: MIT
#include "frame_files.h"

#include "image/header_size.h"

#include <new>

namespace ops {

namespace {

QString sizeText(QSize size)
{
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

} // namespace

Result<QSize, FrameFileError> commonFrameSize(const QStringList& files)
{
    std::optional<QSize> first;
    for (const QString& file : files) {
        const std::optional<QSize> size = image::headerPictureSize(file);
        if (!size)
            return FrameFileError{file,
                                  QStringLiteral("Its size could not be read: it is missing, unreadable or "
                                                 "not a picture Pixmold reads.")};
        if (!first)
            first = size;
        else if (*size != *first)
            return FrameFileError{file,
                                  QStringLiteral("It is %1 pixels, but the first file, %2, is %3; every frame "
                                                 "must have the first one's size.")
                                      .arg(sizeText(*size), files.first(), sizeText(*first)),
                                  true};
    }
    if (!first)
        return FrameFileError{QString(), QStringLiteral("There are no frames to join.")};
    return *first;
}

Result<void, FrameFileError> joinFrameFiles(const QStringList& files, const FrameLayout& layout, image::Colour key,
                                            const FrameReader& read, image::Surface& sheet, Progress& progress)
{
    try {
        image::Surface joined(sheet.background());
        startJoinedSheet(joined, layout, key);
        progress.reached(0);
        image::Surface frame;
        for (int i = 0; i < layout.frames && i < files.size(); ++i) {
            const QString& file = files[i];
            const Result<image::PictureRead> readFile = read(file);
            if (!readFile)
                return FrameFileError{file, readFile.error()};
            const image::PictureRead& picture = *readFile;
            // A header can state one size and the pixels make another.
            if (picture.picture.size() != layout.cell)
                return FrameFileError{file,
                                      QStringLiteral("It holds %1 pixels, not the %2 its header states.")
                                          .arg(sizeText(picture.picture.size()), sizeText(layout.cell))};
            frame.assign(picture.picture);
            placeFrame(joined, layout, i, frame);
            progress.reached(int(qint64(100) * (i + 1) / layout.frames));
        }
        sheet.swapPixels(joined);
        return {};
    } catch (const image::SurfaceError& error) {
        return FrameFileError{files.value(0), QString::fromStdString(error.what())};
    } catch (const std::bad_alloc&) {
        return FrameFileError{files.value(0), QStringLiteral("Not enough memory to join the frames.")};
    }
}

} // namespace ops
