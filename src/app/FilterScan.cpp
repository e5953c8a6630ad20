#include "app/FilterScan.h"

#include "engine/clsListEmu.h"

namespace twinscan {

FilterScan scanForFilter(
    const LoadedText &text, ScanRules rules, const KeySpec &key, const ProgressFn &progress)
{
    auto duplicates = std::make_unique<clsListEmu>();
    duplicates->setUpperLimit(text.lineCount());
    ScanOutcome outcome = DuplicateScanner(text, rules, Parallelism::fromEnvironment(), key)
                              .run(*duplicates, progress);
    return {std::move(duplicates), std::move(outcome)};
}

} // namespace twinscan
