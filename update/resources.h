// The updater's own resources (its background picture), built into the program as a data module.
#pragma once
#include <cstdint>
#include <vector>

std::vector<uint8_t> UpdaterResources();    // the module's bytes
