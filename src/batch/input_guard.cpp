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

} // namespace

QString resolvedPath(const QString& path)
{
    // The part that exists is resolved; the rest cannot hold a link yet.
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!QFileInfo::exists(existing) && existing != QDir::rootPath()) {
        const QFileInfo info(existing);
        rest = rest.isEmpty() ? info.fileName() : info.fileName() + u'/' + rest;
        existing = info.path();
    }
    const QString resolved = QFileInfo(existing).canonicalFilePath();
    return QDir::cleanPath((resolved.isEmpty() ? existing : resolved) + u'/' + rest);
}

QString outputOverInput(const QStringList& inputs, const QStringList& outputs)
{
    QHash<QString, QString> inputNamed;
    for (const QString& input : inputs) {
        if (const QString inode = inodeOf(input); !inode.isEmpty())
            inputNamed.insert(inode, input);
        inputNamed.insert(resolvedPath(input), input);
    }
    for (const QString& output : outputs) {
        const QString inode = inodeOf(output);
        if (const auto input = inputNamed.constFind(inode.isEmpty() ? resolvedPath(output) : inode);
            input != inputNamed.cend())
            return QStringLiteral("%1 would be written over the input %2; use --in-place to replace each "
                                  "input with its result.")
                .arg(output, *input);
    }
    return {};
}

} // namespace batch
