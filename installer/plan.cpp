// Reading and checking the whole package before the install writes anything.
#include "installer/plan.h"

#include <cerrno>
#include <cstring>
#include <set>

#include "installer/failure.h"
#include "installer/package.h"
#include "installer/paths.h"
#include "installer/walks.h"
#include "platform/cp1252.h"

const char compatibilitytext[] =
    "; This file exists for compatibility reasons.  Modify its contents at your own risks\r\n\r\n[WinVer]\r\n"
    "v=Win98,WinXP";

namespace {

// The names given so far, ignoring case, and the directories they need.
struct NameCheck {
    std::set<std::string> files;
    std::set<std::string> dirs;
};

// Adds the directory and its parents to the plan, parents first.
void AddDirs(InstallPlan* plan, NameCheck* names, const std::string& dir)
{
    for (size_t slash = dir.find('/'); ; slash = dir.find('/', slash + 1)) {
        const std::string part = dir.substr(0, slash);
        if (names->dirs.insert(FoldPath(part)).second)
            plan->subdirs.push_back(part);
        if (slash == std::string::npos)
            return;
    }
}

// True for a path whose first part is the install's own staging name.
bool IsWorkName(const std::string& path)
{
    const std::string prefix = FoldPath(STAGING_PREFIX);
    return FoldPath(path).compare(0, prefix.size(), prefix) == 0;
}

// Adds a file unless its name is taken, by a file or a directory, or is a work name; false when it is.
bool AddFile(InstallPlan* plan, NameCheck* names, const PlannedFile& file)
{
    const std::string folded = FoldPath(file.path);
    if (IsWorkName(file.path))
        return false;
    if (names->dirs.count(folded) || !names->files.insert(folded).second)
        return false;
    const size_t slash = file.path.rfind('/');
    if (slash != std::string::npos)
        AddDirs(plan, names, file.path.substr(0, slash));
    for (const std::string& dir : names->dirs)
        if (names->files.count(dir))
            return false;
    plan->files.push_back(file);
    return true;
}

// Opens the component module named (CP1252) by the package, a file of the start directory.
Module* OpenComponent(const std::string& startdir, const std::string& text)
{
    const std::string name = Cp1252ToUtf8(text);
    if (!IsBareFileName(name))
        throw std::string(PACKAGE_INVALID);
    errno = 0;
    Module* const component = OpenModule((startdir + "/" + name).c_str());
    if (!component)
        throw SUPEREXCEPTION{OP_LOADCOMPONENT, errno ? errno : EINVAL};
    return component;
}

void ReadComponent(const Module* component, InstallPlan* plan, NameCheck* names)
{
    CheckPackageHead(component, COMPONENT_INVALID);
    const std::string root = PackageText(component, "ROOT");
    std::string dir;
    if (root.empty() || root[0] != '#') {
        dir = PackagePath(root);
        if (dir.empty() || dir.find('/') != std::string::npos)
            throw std::string(COMPONENT_INVALID);
        if (names->files.count(FoldPath(dir)) || IsWorkName(dir))
            throw std::string(COMPONENT_INVALID);
        AddDirs(plan, names, dir);
    }
    const uint32_t count = PackageNumber(component, "NUMFILES", COMPONENT_INVALID);
    for (uint32_t j = 0; j < count; j++) {
        const std::string name = PackagePath(PackageText(component, ItemName("FILE", j).c_str()));
        const uint32_t size = PackageNumber(component, ItemName("SIZE", j).c_str(), COMPONENT_INVALID);
        const ModuleData data = LoadPackageResource(component, ItemName("DATA", j).c_str());
        const std::string mode = ItemName("MODE", j);
        const bool executable = HasPackageResource(component, mode.c_str())
                                && (PackageNumber(component, mode.c_str(), COMPONENT_INVALID) & 0111) != 0;
        if (name.empty() || size > data.size)
            throw std::string(COMPONENT_INVALID);
        const std::string path = dir.empty() ? name : dir + "/" + name;
        if (!AddFile(plan, names, {path, data.data, size, executable}))
            throw std::string(COMPONENT_INVALID);
    }
}

} // namespace

InstallPlan::~InstallPlan()
{
    for (Module* component : components)
        CloseModule(component);
}

void ReadInstallPlan(const Module* package, const std::string& startdir, InstallPlan* plan)
{
    CheckPackageHead(package, PACKAGE_INVALID);
    NameCheck names;
    const uint32_t count = PackageNumber(package, "NUMDIRECTORIES", PACKAGE_INVALID);
    for (uint32_t i = 0; i < count; i++) {
        plan->components.push_back(OpenComponent(startdir, PackageText(package, ItemName("DIR", i).c_str())));
        ReadComponent(plan->components.back(), plan, &names);
    }
    if (!HasPackageResource(package, "COMPTFILES"))
        return;
    const uint32_t extra = PackageNumber(package, "COMPTFILES", PACKAGE_INVALID);
    for (uint32_t k = 0; k < extra; k++) {
        const std::string path = PackagePath(PackageText(package, ItemName("SECN", k).c_str()));
        if (path.empty()
            || !AddFile(plan, &names, {path, (const uint8_t*)compatibilitytext, strlen(compatibilitytext), false}))
            throw std::string(PACKAGE_INVALID);
    }
}
