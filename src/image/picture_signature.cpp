// SPDX-License-Identifier: MIT
#include "picture_signature.h"

#include <array>

namespace image {

bool startsPicture(const QByteArray& head)
{
    static const std::array<QByteArray, 9> starts{
        QByteArray("BM"),
        kPngSignature,
        QByteArray("\xFF\xD8\xFF"), // JPEG
        QByteArray("GIF8"),
        QByteArray("\0\0\1\0", 4), // icon
        QByteArray("\0\0\2\0", 4), // cursor
        QByteArray("#define"),     // XBM
        QByteArray("/* XPM */"),
        QByteArray("P"), // PBM, PGM, PPM: P1 to P6
    };
    for (const QByteArray& start : starts) {
        if (!head.startsWith(start))
            continue;
        return start != "P" || (head.size() >= 2 && head[1] >= '1' && head[1] <= '6');
    }
    return false;
}

} // namespace image
