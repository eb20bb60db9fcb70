// SPDX-License-Identifier: MIT
#include "header_size.h"

#include "decoder_messages.h"

#include <QImageReader>

#include <cstdlib>
#include <limits>

namespace image {

std::optional<QSize> headerPictureSize(const QString& path)
{
    // A reader's complaint about a damaged file is no part of the answer: the load that
    // follows gives it.
    const DecoderMessages kept;
    QImageReader reader(path);
    // As the loader reads it: the stored orientation, not the one a tag asks for.
    reader.setAutoTransform(false);
    if (!reader.canRead() || !reader.supportsOption(QImageIOHandler::Size))
        return std::nullopt;
    const QSize size = reader.size();
    // Qt's BMP reader gives a top-down picture's height as negative; (-1, -1) is none.
    const qint64 height = std::llabs(qint64(size.height()));
    if (size == QSize(-1, -1) || size.width() < 0 || height > std::numeric_limits<int>::max())
        return std::nullopt;
    return QSize(size.width(), int(height));
}

} // namespace image
