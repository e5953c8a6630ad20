#include "app/Module.h"

namespace twinscan {

Module &module()
{
    static Module instance;
    return instance;
}

} // namespace twinscan
