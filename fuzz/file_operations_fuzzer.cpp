// SPDX-License-Identifier: MIT
// The sheet operations on the sheet a fuzzed file gives. The input is one byte L, then
// L bytes of answers and colours for the operations, then the file.
#include "fuzz_input.h"
#include "operation_run.h"
#include "image/picture_read.h"

#include <QBuffer>
#include <QCoreApplication>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    // The readers' warnings about broken files would drown the fuzzer's own output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t answers = std::min<std::size_t>(data[0], size - 1);
    FuzzInput input(data + 1, answers);
    QByteArray file
        = QByteArray::fromRawData(reinterpret_cast<const char*>(data + 1 + answers), qsizetype(size - 1 - answers));
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    const auto read = image::readPicture(buffer);
    if (!read)
        return -1; // keeps inputs that are no picture out of the corpus

    fuzz::Sheets sheets;
    sheets.work.assign(read->picture);
    fuzz::runOperations(sheets, input);
    return 0;
}
