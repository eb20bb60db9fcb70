// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

namespace shell {

// The open dialog's filters: Windows Bitmap first, then all pictures, one for every
// other picture format Qt reads here, then all files.
QStringList openFilters();

// The save dialog's filters: Windows Bitmap first, then PNG, then the 8-bit bitmap,
// at kIndexedBitmapFilter.
QStringList saveFilters();
inline constexpr int kIndexedBitmapFilter = 2;

// The palette dialog's filters: every palette file read, then all files.
QStringList paletteFilters();

// The suffix a filter's first pattern gives a typed name, without the dot ("bmp"), or
// the empty text for a filter of all files.
QString filterSuffix(const QString& filter);

} // namespace shell
