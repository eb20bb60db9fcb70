// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>

class QFileDevice;

namespace image {

// A save is flushed to the disk before it replaces the old file. These keep that quick
// on Linux; elsewhere they do nothing.

// Starts writing the given bytes of the open file to the disk without waiting for them,
// so that the disk works while the rest is packed and the final flush finds little left.
void startWriteback(const QFileDevice& file, qint64 offset, qint64 length);

// Holds the file at `path` (if there is one) open while a save replaces it, and closes it
// on a worker thread afterwards: the last close of a large file frees its disk blocks and
// cached pages, which costs about as long as writing it did, and need not be waited for.
class ReplacedFile {
public:
    explicit ReplacedFile(const QString& path);
    ~ReplacedFile();

    ReplacedFile(const ReplacedFile&) = delete;
    ReplacedFile& operator=(const ReplacedFile&) = delete;

private:
    int m_handle = -1;
};

} // namespace image
