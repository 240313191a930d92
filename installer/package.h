// The install package: "INSTALL.DLL" and its component modules, data modules whose items are resources
// of type "RCDATA" found by name. A number is the first four bytes of its item, least significant first;
// a text runs to the first NUL of its item (or is the whole item). Listed items are named by a format
// and the index plus 10000: "DIR10000" is the first component.
//
// Every reader checks what it reads: a missing item throws its name, a malformed one the package's or
// the component's plain text (failure.h).
#pragma once
#include <cstdint>
#include <string>

#include "common/module.h"

enum : uint32_t {
    PACKAGE_SIGNATURE = 137,    // "TQINSTALLHEAD" of the package and of every component
    PACKAGE_FIRSTINDEX = 10000,
};

inline constexpr char PACKAGE_FILE[] = "INSTALL.DLL";
inline constexpr char PACKAGE_TYPE[] = "RCDATA";

// The item's bytes; throws its name when the module does not hold it.
ModuleData LoadPackageResource(const Module* module, const char* name);
bool HasPackageResource(const Module* module, const char* name);
// A number; throws the name when missing, the malformed text when shorter than four bytes.
uint32_t PackageNumber(const Module* module, const char* name, const char* malformed);
// A text; throws the name when missing.
std::string PackageText(const Module* module, const char* name);
std::string ItemName(const char* prefix, uint32_t index);     // "DIR" and 0: "DIR10000"
// Throws the malformed text unless the module's "TQINSTALLHEAD" is PACKAGE_SIGNATURE (its name when missing).
void CheckPackageHead(const Module* module, const char* malformed);
