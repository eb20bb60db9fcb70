// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace image {

// While one lives, the Qt messages of its thread (the picture readers' "libpng error: …",
// "Corrupt JPEG data: …") are kept here instead of reaching standard error; other
// threads' messages go where they went before. Readers on several threads each keep
// their own. Nests: an inner one keeps its thread's messages until it ends.
class DecoderMessages {
public:
    DecoderMessages();
    ~DecoderMessages();
    DecoderMessages(const DecoderMessages&) = delete;
    DecoderMessages& operator=(const DecoderMessages&) = delete;

    // A line from a decoder that reports to no Qt handler (libpng called directly).
    void add(const QString& line);

    // The distinct lines kept, in order, the first few only, joined for a message; empty
    // when the decoders said nothing.
    QString text() const;

private:
    QStringList m_lines;
    DecoderMessages* m_outer;
};

} // namespace image
