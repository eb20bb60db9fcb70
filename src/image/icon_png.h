// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QIODevice>

#include <optional>

namespace image {

// The PNG file that an icon's (or cursor's) first picture is, when it is one: icons may
// hold whole PNG files, which Qt's icon reader would widen as it widens 16-bit PNG.
// nullopt for any other file. Reads the source from its start.
std::optional<QByteArray> iconPng(QIODevice& source);

} // namespace image
