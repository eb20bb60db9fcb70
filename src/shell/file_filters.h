// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

namespace shell {

// The open dialog's filters: Windows Bitmap first, then all pictures, one for every
// other picture format Qt reads here, then all files.
QStringList openFilters();

// The save dialog's filters: Windows Bitmap first, then PNG.
QStringList saveFilters();

// The suffix a filter's first pattern gives a typed name, without the dot ("bmp"), or
// the empty text for a filter of all files.
QString filterSuffix(const QString& filter);

} // namespace shell
