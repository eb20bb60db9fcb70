// SPDX-License-Identifier: MIT
#pragma once

// Marks a function whose loops run along whole rows of pixels. On x86-64 it is built
// twice, for AVX2 and for the baseline, and the loader picks what the processor runs.
// Besides the wider registers, the AVX2 build avoids a trap: baseline (SSE) vector code
// runs several times slower while AVX code elsewhere, Qt's own fills among it, has left
// the upper halves of the vector registers in use. ThreadSanitizer builds take the
// baseline only: the loader's pick runs before the sanitizer is ready and crashes.
#if defined(__x86_64__) && defined(__GNUC__) && defined(__linux__) && !defined(__SANITIZE_THREAD__)
#define PIXMOLD_ROW_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define PIXMOLD_ROW_LOOP
#endif

#include <QRgb>

namespace image {

// Sets `count` pixels from `line` on to `pixel`; nothing where count is not positive.
void fillRow(QRgb* line, int count, QRgb pixel);

} // namespace image
