// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"

#include <QString>

namespace batch {

// Makes the --out-dir folder (and the folders above it) where missing and checks that
// files can be made in it, so that a folder no file can go to is told once, before any
// input is read. A failure says what is wrong, with the system's reason.
Result<void> prepareOutputFolder(const QString& folder);

} // namespace batch
