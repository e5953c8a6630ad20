#include "engine/Rounding.h"

#include <cmath>

namespace twinscan {

long long roundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return static_cast<long long>(lower) + 1;
    if (fraction < 0.5)
        return static_cast<long long>(lower);
    const auto even = static_cast<long long>(lower);
    return even % 2 == 0 ? even : even + 1;
}

} // namespace twinscan
