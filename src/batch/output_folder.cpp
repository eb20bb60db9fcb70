// SPDX-License-Identifier: MIT
#include "output_folder.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace batch {

Result<void> prepareOutputFolder(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path.constData()), error);
    if (error)
        return Failure{
            QStringLiteral("The folder could not be created: %1.").arg(QString::fromLocal8Bit(error.message()))};
    // An unnamed file asks the folder itself (a read-only mount says no even to root);
    // where the file system has no such files, its permissions are asked instead.
    if (const int probe = ::open(path.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600); probe >= 0) {
        ::close(probe);
        return {};
    }
    if ((errno == EOPNOTSUPP || errno == EISDIR) && ::access(path.constData(), W_OK | X_OK) == 0)
        return {};
    return Failure{QStringLiteral("No file can be written in this folder: %1.")
                       .arg(QString::fromLocal8Bit(std::generic_category().message(errno)))};
}

} // namespace batch
