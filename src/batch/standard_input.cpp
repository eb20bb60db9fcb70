// SPDX-License-Identifier: MIT
#include "standard_input.h"

#include "image/picture_signature.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace batch {

namespace {

Failure refused(const QString& reason)
{
    return Failure{reason};
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Up to `count` bytes, fewer only at the end; -1 on an error.
qint64 readFully(int fd, char* into, qint64 count)
{
    qint64 got = 0;
    while (got < count) {
        const ssize_t now = ::read(fd, into + got, size_t(count - got));
        if (now == 0)
            break;
        if (now < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        got += now;
    }
    return got;
}

bool writeFully(int fd, const char* from, qint64 count)
{
    while (count > 0) {
        const ssize_t now = ::write(fd, from, size_t(count));
        if (now < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        from += now;
        count -= now;
    }
    return true;
}

// A file in the temporary folder that no name reaches, gone when it is closed; -1 if
// none can be made.
int unnamedFile()
{
    const QByteArray folder = QFile::encodeName(QDir::tempPath());
#ifdef O_TMPFILE
    if (const int fd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600); fd >= 0)
        return fd;
#endif
    // Where the file system has no unnamed files, the name is taken away at once.
    QByteArray name = folder + "/pixmold-batch-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd >= 0)
        ::unlink(name.constData());
    return fd;
}

// Writes `head` and the rest of standard input to `fd`; a failure says what went wrong.
Result<void> copyRest(const QByteArray& head, int fd)
{
    const auto unkept = [] {
        return refused(QStringLiteral("Standard input could not be kept in a temporary file: %1").arg(systemError()));
    };
    if (!writeFully(fd, head.constData(), head.size()))
        return unkept();
    std::vector<char> block(size_t(1) << 20);
    qint64 total = head.size();
    for (;;) {
        const qint64 read = readFully(STDIN_FILENO, block.data(), qint64(block.size()));
        if (read < 0)
            return refused(QStringLiteral("Standard input could not be read: %1").arg(systemError()));
        if (read == 0)
            return {};
        total += read;
        if (total > kStandardInputLimit)
            return refused(QStringLiteral("It holds more than 2 GiB, the most read from standard input; give the "
                                          "picture as a file instead."));
        if (!writeFully(fd, block.data(), read))
            return unkept();
    }
}

} // namespace

Result<image::PictureRead> readStandardInput(const image::TransparencyKey& key)
{
    QByteArray head(image::kSignatureBytes, '\0');
    const qint64 got = readFully(STDIN_FILENO, head.data(), head.size());
    if (got < 0)
        return refused(QStringLiteral("Standard input could not be read: %1").arg(systemError()));
    head.truncate(got);
    if (head.isEmpty())
        return refused(QStringLiteral("The file is empty."));
    if (!image::startsPicture(head))
        return refused(QStringLiteral("Not a picture: its first bytes start no format Pixmold "
                                      "reads."));

    const int fd = unnamedFile();
    if (fd < 0)
        return refused(QStringLiteral("Standard input could not be kept in a temporary file: %1").arg(systemError()));
    // Closing the file, whatever happens, takes it away.
    QFile copy;
    if (!copy.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return refused(
            QStringLiteral("Standard input could not be kept in a temporary file: %1").arg(copy.errorString()));
    }
    if (const auto copied = copyRest(head, fd); !copied)
        return refused(copied.error());
    return image::readPicture(copy, key);
}

} // namespace batch
