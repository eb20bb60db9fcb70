// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

namespace batch {

// Makes the --out-dir folder (and the folders above it) where missing and checks that
// files can be made in it, so that a folder no file can go to is told once, before any
// input is read. What is wrong with the system's reason, or nullopt.
std::optional<QString> prepareOutputFolder(const QString& folder);

} // namespace batch
