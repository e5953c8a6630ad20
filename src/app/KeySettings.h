#pragma once

#include "engine/KeySpec.h"

namespace twinscan {

class SettingsStore;

// What is compared, under keys of its own beside the switches. Missing keys give the whole line;
// so does a stored key that cannot be used (a damaged file), rather than a scan that fails.
KeySpec readKeySpec(const SettingsStore &store);
void writeKeySpec(SettingsStore &store, const KeySpec &keySpec);

} // namespace twinscan
