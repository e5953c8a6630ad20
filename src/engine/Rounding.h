#pragma once

namespace twinscan {

// Rounds to the nearest whole number, halves to the even neighbour (0.5 -> 0, 1.5 -> 2), as
// times, percentages and window positions are rounded throughout.
long long roundHalfEven(double value);

} // namespace twinscan
