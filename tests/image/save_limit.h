// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Saves under a limit the test process itself must not take on.
enum class SaveLimit {
    ReadOnlyFolder, // run as a user who cannot write there (root writes anyway: nobody)
    FileSize,       // files of at most 1000 bytes, as on a nearly full disk
};

// Runs `save` in a forked child under the limit and gives back the reason it reports, or
// "saved", or what went wrong with the child.
inline QString saveInChild(const std::function<Result<void>()>& save, SaveLimit limit)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        bool limited = true;
        if (limit == SaveLimit::FileSize) {
            std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
            const rlimit size{1000, 1000};
            limited = ::setrlimit(RLIMIT_FSIZE, &size) == 0;
        } else if (::geteuid() == 0) {
            limited = ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
        }
        const Result<void> saved = limited ? save() : Result<void>(Failure{QStringLiteral("no limit")});
        const QByteArray text = saved ? QByteArray("saved") : saved.error().toUtf8();
        const bool written = ::write(pipeEnds[1], text.constData(), size_t(text.size())) == text.size();
        ::_exit(written ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    QByteArray answer;
    char buffer[256];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, got);
    ::close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the child failed";
    return QString::fromUtf8(answer);
}
#endif
