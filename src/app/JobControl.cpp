#include "app/JobControl.h"

#include "app/Module.h"

namespace twinscan {

bool JobControl::isBusy() const
{
    return module().isBusy;
}

BusyScope::BusyScope(JobControl &jobs) : jobs_(jobs)
{
    module().isBusy = true;
}

BusyScope::~BusyScope()
{
    jobs_.showBusy_(false);
    module().isBusy = false;
}

void BusyScope::showBusy()
{
    jobs_.stopRequested_ = false;
    jobs_.showBusy_(true);
}

} // namespace twinscan
