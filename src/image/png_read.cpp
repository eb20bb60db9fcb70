// SPDX-License-Identifier: MIT
#include "png_read.h"

#include <QCoreApplication>

#include <png.h>

#include <vector>

namespace image {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("image::PngRead", text);
}

struct Reading {
    QIODevice& source;
    DecoderMessages& messages;
    bool ranShort = false;
};

void readBytes(png_structp png, png_bytep data, size_t length)
{
    auto* reading = static_cast<Reading*>(png_get_io_ptr(png));
    if (reading->source.read(reinterpret_cast<char*>(data), qint64(length)) != qint64(length)) {
        reading->ranShort = true;
        png_error(png, "the file ends early");
    }
}

[[noreturn]] void onError(png_structp png, png_const_charp message)
{
    static_cast<Reading*>(png_get_error_ptr(png))->messages.add(QString::fromUtf8(message));
    png_longjmp(png, 1);
}

void onWarning(png_structp png, png_const_charp message)
{
    static_cast<Reading*>(png_get_error_ptr(png))->messages.add(QString::fromUtf8(message));
}

// Chunks that change no pixel of ours: skipped unread, so their faults cost nothing and
// say nothing (colour profiles, gamma, text, time).
const png_byte kIgnoredChunks[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0sCAL\0sPLT\0sRGB\0"
                                  "tEXt\0tIME\0zTXt";

// libpng reports errors by a long jump back into the function that set it: these
// functions hold no object with a destructor.
bool readHeader(png_structp png, png_infop info)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks, int(sizeof kIgnoredChunks / 5));
    png_read_info(png, info);
    return true;
}

// Every kind of PNG arrives as four bytes a pixel in QImage's ARGB32 order; 16-bit
// samples are scaled to 8 bits with rounding.
bool askForArgb32(png_structp png, png_infop info)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
#else
    png_set_swap_alpha(png);
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
#endif
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool readRows(png_structp png, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    return true;
}

class PngHandles {
public:
    explicit PngHandles(Reading& reading)
        : m_png(png_create_read_struct(PNG_LIBPNG_VER_STRING, &reading, onError, onWarning)),
          m_info(m_png ? png_create_info_struct(m_png) : nullptr)
    {
        if (m_png)
            png_set_read_fn(m_png, &reading, readBytes);
    }
    ~PngHandles() { png_destroy_read_struct(&m_png, m_info ? &m_info : nullptr, nullptr); }
    PngHandles(const PngHandles&) = delete;
    PngHandles& operator=(const PngHandles&) = delete;

    bool valid() const { return m_info != nullptr; }
    png_structp png() const { return m_png; }
    png_infop info() const { return m_info; }

private:
    png_structp m_png;
    png_infop m_info;
};

} // namespace

Result<QImage> readPng(QIODevice& source, DecoderMessages& messages, const SizeCheck& refuse)
{
    Reading reading{source, messages};
    PngHandles handles(reading);
    const auto failed = [&](const QString& what) {
        if (reading.ranShort)
            return Failure{tr("The file is incomplete: it ends before the picture's last pixels.")};
        const QString said = messages.text();
        return Failure{said.isEmpty() ? what : tr("%1 (%2)").arg(what, said)};
    };
    if (!handles.valid())
        return Failure{tr("Not enough memory to read this picture.")};
    if (!source.seek(0) || !readHeader(handles.png(), handles.info()))
        return failed(tr("The file could not be read as a picture: its PNG header is damaged."));

    const png_uint_32 width = png_get_image_width(handles.png(), handles.info());
    const png_uint_32 height = png_get_image_height(handles.png(), handles.info());
    if (const auto taken = refuse(width, height); !taken)
        return Failure{taken.error()};
    if (!askForArgb32(handles.png(), handles.info())
        || png_get_rowbytes(handles.png(), handles.info()) != size_t(width) * 4)
        return failed(tr("The file could not be read as a picture: its PNG header is damaged."));

    QImage picture(int(width), int(height), QImage::Format_ARGB32);
    if (picture.isNull())
        return Failure{tr("Not enough memory for a picture of %1 x %2 pixels.").arg(width).arg(height)};
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = picture.scanLine(int(y));
    if (!readRows(handles.png(), rows.data()))
        return failed(tr("The file could not be read as a picture: its pixel data is damaged."));
    return picture;
}

} // namespace image
