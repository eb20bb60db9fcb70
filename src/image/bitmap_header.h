// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <optional>

namespace image {

// The BMP layout that Pixmold writes and reads without Qt: the 14-byte file header, the
// 40-byte Windows info header, then rows of 24 bits a pixel, uncompressed. The reader
// and the writer both go through this file, so that they cannot disagree.

inline constexpr int kBitmapFileHeaderSize = 14;
inline constexpr int kBitmapInfoHeaderSize = 40;
inline constexpr int kBitmapHeadersSize = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;

// Where the fields lie, counted from the file's start; all are little-endian.
namespace bitmap_field {
inline constexpr int kFileSize = 2;       // quint32
inline constexpr int kDataOffset = 10;    // quint32, where the rows start
inline constexpr int kInfoSize = 14;      // quint32, which info header follows
inline constexpr int kWidth = 18;         // qint32
inline constexpr int kHeight = 22;        // qint32, negative for top-down rows
inline constexpr int kPlanes = 26;        // quint16, always 1
inline constexpr int kBitsPerPixel = 28;  // quint16
inline constexpr int kCompression = 30;   // quint32, 0 for none
inline constexpr int kDataSize = 34;      // quint32, the rows' bytes
inline constexpr int kDotsPerMeterX = 38; // qint32
inline constexpr int kDotsPerMeterY = 42; // qint32

// The old OS/2 core header, of 12 bytes, has 16-bit sizes.
inline constexpr int kCoreWidth = 18;  // quint16
inline constexpr int kCoreHeight = 20; // quint16
} // namespace bitmap_field

inline constexpr int kBitmapCoreHeaderSize = 12;

// A 24-bit row takes 3 bytes a pixel, padded to a multiple of 4.
constexpr qint64 bitmapRowBytes(qint64 width)
{
    return (width * 3 + 3) & ~qint64(3);
}

// Rows are read and written this many bytes at a time, roughly: few calls, and a buffer
// small enough to stay in the cache and to cost few page faults.
inline constexpr qint64 kBitmapBlockBytes = qint64(64) << 10;

// What the headers of a plain 24-bit BMP say.
struct PlainBitmapHeader {
    qint32 width = 0;  // positive
    qint32 height = 0; // positive; the rows are stored bottom-up unless topDown
    bool topDown = false;
    quint32 dataOffset = 0; // where the rows start, at least kBitmapHeadersSize
    qint32 dotsPerMeterX = 0;
    qint32 dotsPerMeterY = 0;
};

// The header of the kBitmapHeadersSize bytes given, or nullopt where they do not start
// a plain 24-bit BMP of a size and row order this layout can hold.
std::optional<PlainBitmapHeader> parsePlainBitmapHeader(const uchar* bytes);

// Fills kBitmapHeadersSize bytes with the headers of a width x height picture (both
// positive) whose rows follow at once, bottom-up.
void writePlainBitmapHeader(uchar* bytes, qint32 width, qint32 height, qint32 dotsPerMeterX, qint32 dotsPerMeterY);

} // namespace image
