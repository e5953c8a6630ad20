#include "app/JobHost.h"

#include "app/Module.h"

namespace twinscan {

BusyScope::BusyScope(JobHost &host) : host_(host)
{
    module().isBusy = true;
}

BusyScope::~BusyScope()
{
    host_.leaveBusyState();
    module().isBusy = false;
}

} // namespace twinscan
