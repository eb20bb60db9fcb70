// SPDX-License-Identifier: MIT
// The sheet operations with fuzzed answers, cell size and colours on a small sheet of
// up to 32 x 32 pixels, its scratch surfaces left as earlier work may leave them.
#include "fuzz_input.h"
#include "operation_run.h"

#include <cstdint>

namespace {

// A sheet drawn from four colours, black and its near neighbours among them, so that
// the exact-colour rules of the operations have something to tell apart.
image::Surface smallSheet(FuzzInput& input)
{
    const int width = 1 + input.byte() % 32;
    const int height = 1 + input.byte() % 32;
    const image::Colour palette[4] = {image::rgb(0, 0, 0), image::rgb(255, 255, 255), image::rgb(0, 0, 1),
                                      image::rgb(input.byte(), input.byte(), 7)};
    std::uint32_t seed = input.byte() | 1u;
    image::Surface sheet(image::rgb(255, 255, 255), width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            image::SetPixel(sheet, x, y, palette[(seed >> 16) % 4]);
        }
    }
    return sheet;
}

// Scratch surfaces of some small size, full of a colour no operation writes.
image::Surface leftOver(FuzzInput& input)
{
    image::Surface surface(image::rgb(0, 0, 0), input.byte() % 9, input.byte() % 9);
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            image::SetPixel(surface, x, y, image::rgb(1, 2, 3));
    return surface;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    fuzz::Sheets sheets;
    sheets.work = smallSheet(input);
    sheets.scratch = leftOver(input);
    sheets.scratch2 = leftOver(input);
    fuzz::runOperations(sheets, input);
    return 0;
}
