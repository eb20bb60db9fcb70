// SPDX-License-Identifier: MIT
#pragma once

#include "operation.h"

#include <QList>
#include <QStringView>

namespace ops {

// Every sheet operation, in the order --help describes them.
const QList<const Operation*>& operationTable();

// The operation whose command-line option is --`name`, or nullptr.
const Operation* operationForOption(QStringView name);

// The operation the window's RunCommand reaches with `code`, or nullptr.
const Operation* operationForRunCode(int code);

} // namespace ops
