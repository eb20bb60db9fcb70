// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"
#include "keyed_transparency.h"

#include <QIODevice>
#include <QImage>
#include <QString>

namespace image {

// A picture read from a file.
struct PictureRead {
    QImage picture; // RGB32, opaque
    // Some pixel of a BMP file was not fully opaque, so the picture shows it otherwise.
    bool droppedTransparency = false;
    // A picture was read, but its decoder complained of the file: what it said, in a
    // user-facing line. Empty when it said nothing.
    QString warning = QString();
    // What keying the transparency of any other file found.
    KeyedCounts keyed = {};
};

// Loading a picture of N pixels takes at most kLoadBytesPerPixel * N + kLoadSpareBytes
// of memory at its peak, whatever the file's depth: one and a half times the working
// image it becomes.
constexpr qint64 kLoadBytesPerPixel = 6;
constexpr qint64 kLoadSpareBytes = qint64(64) << 20;

// Reads any picture Qt's reader knows (BMP above all), up to Surface::kMaxPixels. What
// the decoders say about the file never reaches standard error: it ends up in the
// failure's clear, user-facing reason or in the warning. A BMP's alpha is dropped, each
// pixel keeping its colour; in any other file with transparency (PNG, GIF, ICO, ...)
// the pixels below `key`'s threshold take its colour and the others keep theirs.
Result<PictureRead> readPicture(const QString& path, const TransparencyKey& key = {});

// The same from a source open for reading that can seek (a file, a buffer), read from
// its start.
Result<PictureRead> readPicture(QIODevice& source, const TransparencyKey& key = {});

// readPicture without the fast way for plain 24-bit BMP files (plain_bitmap_read.h):
// the guarded readers (libpng for PNG, Qt's for the rest) take every file. readPicture passes it what the fast way
// declines; on what both read, both must give the same picture.
Result<PictureRead> readPictureWithQt(QIODevice& source, const TransparencyKey& key = {});

} // namespace image
