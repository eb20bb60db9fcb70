// SPDX-License-Identifier: MIT
#include "output_folder.h"

#include <QFile>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace batch {

std::optional<QString> prepareOutputFolder(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path.constData()), error);
    if (error)
        return QStringLiteral("The folder could not be created: %1.").arg(QString::fromLocal8Bit(error.message()));
    if (::access(path.constData(), W_OK | X_OK) != 0)
        return QStringLiteral("No file can be written in this folder: %1.")
            .arg(QString::fromLocal8Bit(std::generic_category().message(errno)));
    return std::nullopt;
}

} // namespace batch
