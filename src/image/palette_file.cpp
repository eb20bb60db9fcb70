// SPDX-License-Identifier: MIT
#include "palette_file.h"

#include "indexed_bitmap_layout.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QtEndian>

#include <algorithm>
#include <optional>

namespace image {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("image::PaletteFile", text);
}

// A palette's text is a few kilobytes; more is no palette (a BMP is read only so far).
constexpr qint64 kMostBytes = qint64(1) << 20;

constexpr int kActBytes = 768;
constexpr int kActCountedBytes = 772;

QString atLine(int line, const QString& what)
{
    return tr("line %1: %2").arg(line).arg(what);
}

QString atByte(qint64 byte, const QString& what)
{
    return tr("byte %1: %2").arg(byte).arg(what);
}

QString tooMany()
{
    return tr("more than 256 entries.");
}

// The lines of a text file, without their line ends.
QList<QByteArray> linesOf(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

// A whole number written in digits; nullopt for anything else. Large ones stop growing
// past any count a palette can hold.
std::optional<int> wholeNumber(const QByteArray& word)
{
    if (word.isEmpty())
        return std::nullopt;
    int value = 0;
    for (const char c : word) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = std::min(value * 10 + (c - '0'), 100000);
    }
    return value;
}

// An entry line: three whole numbers, separated by blanks or tabs, then an optional
// name where `named`. The colour, or the reason it is not one.
Result<Colour> entryOf(const QByteArray& line, int number, bool named)
{
    const QList<QByteArray> words = line.simplified().split(' ');
    if (words.size() < 3 || (!named && words.size() > 3))
        return Failure{atLine(number,
                              named ? tr("an entry is three whole numbers from 0 to 255, then an optional name.")
                                    : tr("an entry is three whole numbers from 0 to 255."))};
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        const std::optional<int> value = wholeNumber(words[i]);
        if (!value)
            return Failure{
                atLine(number, tr("\"%1\" is not a whole number from 0 to 255.").arg(QString::fromUtf8(words[i])))};
        if (*value > 255)
            return Failure{atLine(number, tr("%1 is above 255.").arg(QString::fromLatin1(words[i])))};
        channels[i] = *value;
    }
    return rgb(channels[0], channels[1], channels[2]);
}

Result<ColourTable> readGimp(const QList<QByteArray>& lines)
{
    ColourTable table{};
    int entries = 0;
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith('#') || line.startsWith("Name:") || line.startsWith("Columns:"))
            continue;
        if (entries == kTableEntries)
            return Failure{atLine(i + 1, tooMany())};
        const Result<Colour> entry = entryOf(line, i + 1, true);
        if (!entry)
            return Failure{entry.error()};
        table[entries++] = *entry;
    }
    return table;
}

Result<ColourTable> readJasc(const QList<QByteArray>& lines)
{
    if (lines.size() < 2 || lines[1].trimmed() != "0100")
        return Failure{atLine(2, tr("a JASC-PAL file has \"0100\" here."))};
    if (lines.size() < 3)
        return Failure{atLine(3, tr("the palette is cut short: the count of entries is missing."))};
    const std::optional<int> count = wholeNumber(lines[2].trimmed());
    if (!count)
        return Failure{atLine(3, tr("the count of entries is no whole number."))};
    if (*count > kTableEntries)
        return Failure{atLine(3, tooMany())};
    const int announced = *count;

    ColourTable table{};
    int line = 3;
    for (int entry = 0; entry < announced; ++entry, ++line) {
        if (line >= lines.size() || (line == lines.size() - 1 && lines[line].trimmed().isEmpty()))
            return Failure{atLine(
                line + 1, tr("the palette is cut short: %1 entries announced, %2 found.").arg(announced).arg(entry))};
        const Result<Colour> colour = entryOf(lines[line], line + 1, false);
        if (!colour)
            return Failure{colour.error()};
        table[entry] = *colour;
    }
    for (; line < lines.size(); ++line)
        if (!lines[line].trimmed().isEmpty())
            return Failure{atLine(line + 1, tr("more entries than the %1 announced.").arg(announced))};
    return table;
}

Result<ColourTable> readAct(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    int count = kTableEntries;
    if (bytes.size() == kActCountedBytes) {
        count = qFromBigEndian<quint16>(data + kActBytes);
        if (count > kTableEntries)
            return Failure{atByte(kActBytes + 1, tr("the count of colours, %1, is above 256.").arg(count))};
    }
    ColourTable table{};
    for (int i = 0; i < count; ++i)
        table[i] = rgb(data[3 * i], data[3 * i + 1], data[3 * i + 2]);
    return table;
}

Result<ColourTable> readBitmapTable(const QByteArray& bytes)
{
    using namespace bitmap_field;
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const qint64 size = bytes.size();
    if (size < kBitmapHeadersSize)
        return Failure{atByte(size + 1, tr("the BMP is cut short inside its headers."))};
    const quint32 infoSize = qFromLittleEndian<quint32>(data + kInfoSize);
    if (infoSize < quint32(kBitmapInfoHeaderSize))
        return Failure{atByte(kInfoSize + 1, tr("this kind of BMP header holds no palette Pixmold reads."))};
    const int bits = qFromLittleEndian<quint16>(data + kBitsPerPixel);
    if (bits != kIndexedBitsPerPixel)
        return Failure{atByte(kBitsPerPixel + 1,
                              tr("a BMP of %1 bits a pixel; only an 8-bit BMP has a 256-colour table.").arg(bits))};
    const quint32 used = qFromLittleEndian<quint32>(data + kColoursUsed);
    if (used > quint32(kTableEntries))
        return Failure{atByte(kColoursUsed + 1, tr("the table has %1 entries, more than 256.").arg(used))};
    const int entries = used == 0 ? kTableEntries : int(used);
    const qint64 start = qint64(kBitmapFileHeaderSize) + infoSize;
    if (start + qint64(entries) * kTableEntryBytes > size)
        return Failure{atByte(size + 1, tr("the BMP is cut short inside its colour table."))};
    ColourTable table{};
    for (int i = 0; i < entries; ++i) {
        const uchar* entry = data + start + qint64(i) * kTableEntryBytes;
        table[i] = rgb(entry[2], entry[1], entry[0]);
    }
    return table;
}

// A BMP whose header gives the file's own size, or one of another size than an ACT.
bool looksLikeBitmap(const QByteArray& bytes)
{
    if (!bytes.startsWith("BM"))
        return false;
    if (bytes.size() != kActBytes && bytes.size() != kActCountedBytes)
        return true;
    // Byte by byte: GCC's bounds check under the sanitizers misreads a QByteArray's data.
    quint32 fileSize = 0;
    for (int i = 3; i >= 0; --i)
        fileSize = fileSize << 8 | quint8(bytes.at(bitmap_field::kFileSize + i));
    return fileSize == quint32(bytes.size());
}

} // namespace

Result<ColourTable> readPalette(const QByteArray& bytes)
{
    const QByteArray first = linesOf(bytes.left(64)).value(0).trimmed();
    if (first == "GIMP Palette")
        return readGimp(linesOf(bytes));
    if (first == "JASC-PAL")
        return readJasc(linesOf(bytes));
    if (looksLikeBitmap(bytes))
        return readBitmapTable(bytes);
    if (bytes.size() == kActBytes || bytes.size() == kActCountedBytes)
        return readAct(bytes);
    return Failure{atLine(1,
                          tr("not a palette: neither \"GIMP Palette\" nor \"JASC-PAL\", nor a Photoshop colour table "
                             "(768 or 772 bytes), nor an 8-bit BMP."))};
}

Result<ColourTable> readPaletteFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const auto failure = [&](const QString& why) { return Failure{tr("%1: %2").arg(name, why)}; };
    const QFileInfo info(path);
    if (!info.exists())
        return failure(tr("the file does not exist."));
    if (!info.isFile())
        return failure(tr("this is no file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(tr("the file could not be opened: %1").arg(file.errorString()));
    const QByteArray bytes = file.read(kMostBytes + 1);
    if (bytes.size() > kMostBytes && !bytes.startsWith("BM"))
        return failure(tr("more than 1 MiB, too large for a palette."));
    Result<ColourTable> read = readPalette(bytes);
    if (!read)
        return failure(read.error());
    return read;
}

} // namespace image
