// SPDX-License-Identifier: MIT
#include "input_guard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <sys/stat.h>

namespace batch {

namespace {

// The file's device and inode, or an empty text where there is no file.
QString inodeOf(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return QStringLiteral("inode %1:%2").arg(quint64(status.st_dev)).arg(quint64(status.st_ino));
}

// Cleaned absolute paths with their symbolic links resolved: the same for every path
// that reaches a file, made or not yet. Each folder is resolved once: a batch names
// hundreds of files in a few folders.
class PathResolver {
public:
    QString resolve(const QString& path)
    {
        const QFileInfo file(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
        if (file.isSymLink()) {
            if (const QString target = file.canonicalFilePath(); !target.isEmpty())
                return target;
        }
        return QDir::cleanPath(folder(file.path()) + u'/' + file.fileName());
    }

private:
    // The part that exists is resolved; the rest cannot hold a link yet.
    QString folder(const QString& path)
    {
        if (const auto known = m_folders.constFind(path); known != m_folders.cend())
            return *known;
        QString resolved = QFileInfo(path).canonicalFilePath();
        if (resolved.isEmpty()) {
            const QFileInfo missing(path);
            resolved
                = path == QDir::rootPath() ? path : QDir::cleanPath(folder(missing.path()) + u'/' + missing.fileName());
        }
        m_folders.insert(path, resolved);
        return resolved;
    }

    QHash<QString, QString> m_folders;
};

} // namespace

Result<void> checkNoOutputOverInput(const QStringList& inputs, const QStringList& outputs)
{
    PathResolver paths;
    QHash<QString, QString> inputNamed;
    for (const QString& input : inputs) {
        if (const QString inode = inodeOf(input); !inode.isEmpty())
            inputNamed.insert(inode, input);
        inputNamed.insert(paths.resolve(input), input);
    }
    for (const QString& output : outputs) {
        const QString inode = inodeOf(output);
        if (const auto input = inputNamed.constFind(inode.isEmpty() ? paths.resolve(output) : inode);
            input != inputNamed.cend())
            return Failure{QStringLiteral("%1 would be written over the input %2; use --in-place to replace each "
                                          "input with its result.")
                               .arg(output, *input)};
    }
    return {};
}

Result<void> checkNoFileTwice(const QStringList& inputs)
{
    QHash<QString, QString> inputNamed;
    for (const QString& input : inputs) {
        const QString inode = inodeOf(input);
        if (inode.isEmpty())
            continue;
        if (const auto earlier = inputNamed.constFind(inode); earlier != inputNamed.cend())
            return Failure{QStringLiteral("%1 and %2 are the same file.").arg(*earlier, input)};
        inputNamed.insert(inode, input);
    }
    return {};
}

} // namespace batch
