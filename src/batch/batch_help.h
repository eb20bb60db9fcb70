// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QCommandLineParser;

namespace batch {

// The long names of the options that are no operation (those are in ops::operationTable).
namespace option {
inline const QString kOutput = QStringLiteral("output");
inline const QString kOutDir = QStringLiteral("out-dir");
inline const QString kInPlace = QStringLiteral("in-place");
inline const QString kFormat = QStringLiteral("format");
inline const QString kSkipExisting = QStringLiteral("skip-existing");
inline const QString kJobs = QStringLiteral("jobs");
inline const QString kQuiet = QStringLiteral("quiet");
inline const QString kSpriteSize = QStringLiteral("sprite-size");
inline const QString kGrid = QStringLiteral("grid");
inline const QString kTolerance = QStringLiteral("tolerance");
inline const QString kKey = QStringLiteral("key");
inline const QString kAlphaThreshold = QStringLiteral("alpha-threshold");
inline const QString kPalette = QStringLiteral("palette");
inline const QString kDetect = QStringLiteral("detect");
inline const QString kGif = QStringLiteral("gif");
inline const QString kFps = QStringLiteral("fps");
inline const QString kPingPong = QStringLiteral("ping-pong");
inline const QString kJoin = QStringLiteral("join");
inline const QString kSplit = QStringLiteral("split");
inline const QString kHelp = QStringLiteral("help");
inline const QString kVersion = QStringLiteral("version");
} // namespace option

// Gives the parser pixmold-batch's options and the way it reads them.
void describeOptions(QCommandLineParser& parser);

// The text of --help: the synopsis, the options, what each operation does to the
// pixels with an example, the guessed counts, and the exit statuses.
QString helpText(const QCommandLineParser& parser);

} // namespace batch
