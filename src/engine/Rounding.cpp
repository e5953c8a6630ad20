#include "engine/Rounding.h"

#include <cmath>

namespace twinscan {

// The default rounding mode rounds halves to the even neighbour.
long long roundHalfEven(double value)
{
    return static_cast<long long>(std::nearbyint(value));
}

} // namespace twinscan
