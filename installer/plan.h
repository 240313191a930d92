// What an install writes, read whole from the package and its components and checked before anything
// is written: every component present and sound, every name safe and given once, every size within its
// data. A package that fails any check throws its failure (failure.h) and writes nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/module.h"

struct PlannedFile {
    std::string path;           // relative to the install directory, '/'-separated UTF-8
    const uint8_t* data;        // into a component module held by the plan (or a constant text)
    size_t size;
    bool executable;
};

struct InstallPlan {
    InstallPlan() = default;
    InstallPlan(const InstallPlan&) = delete;
    InstallPlan& operator=(const InstallPlan&) = delete;
    ~InstallPlan();

    std::vector<Module*> components;    // open while the plan's data is in use
    std::vector<std::string> subdirs;   // relative directories the files go into, each after its parent
    std::vector<PlannedFile> files;     // the components' files in package order, then the compatibility files
};

// The compatibility files' text, as it stands on disk (CR LF line ends, none after the last line).
extern const char compatibilitytext[];

// Reads the package (signature included) and the components it lists from startdir into plan; throws.
void ReadInstallPlan(const Module* package, const std::string& startdir, InstallPlan* plan);
