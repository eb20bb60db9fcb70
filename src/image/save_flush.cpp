// SPDX-License-Identifier: MIT
#include "save_flush.h"

#include <QFile>
#include <QFileDevice>
#include <QThreadPool>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace image {

void startWriteback(const QFileDevice& file, qint64 offset, qint64 length)
{
#ifdef Q_OS_LINUX
    // Only a hint: a file system that cannot do it still gets the full flush at commit.
    if (const int handle = file.handle(); handle >= 0)
        ::sync_file_range(handle, offset, length, SYNC_FILE_RANGE_WRITE);
#else
    Q_UNUSED(file);
    Q_UNUSED(offset);
    Q_UNUSED(length);
#endif
}

ReplacedFile::ReplacedFile(const QString& path)
{
#ifdef Q_OS_LINUX
    // Non-blocking, in case the name was swapped for a pipe since it was checked.
    m_handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
#else
    Q_UNUSED(path);
#endif
}

ReplacedFile::~ReplacedFile()
{
#ifdef Q_OS_LINUX
    if (m_handle < 0)
        return;
    // The global pool finishes its work before the program ends.
    const int handle = m_handle;
    QThreadPool::globalInstance()->start([handle] { ::close(handle); });
#endif
}

} // namespace image
