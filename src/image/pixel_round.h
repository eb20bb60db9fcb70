// SPDX-License-Identifier: MIT
#pragma once

namespace image {

// Rounds a real to a whole pixel coordinate or size, halves to the even neighbour
// (12.5 -> 12, 13.5 -> 14). Defined for every input: NaN gives 0, and values beyond
// the int range (infinities included) give the nearest int limit.
int roundToPixel(double value);

// The same rounding kept in double precision, for sizes checked before they become
// integers: NaN and infinities come back as they are.
double roundHalfToEven(double value);

} // namespace image
