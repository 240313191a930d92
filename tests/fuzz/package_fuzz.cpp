// libFuzzer target: arbitrary text as the install package and two component modules. The input's parts
// between lines "--" are "INSTALL.DLL", "A.DLL" and "B.DLL", each a list of items "<NAME>=<bytes>" (a
// number as its four bytes, least significant first) packed as the module's "RCDATA" resources; the
// components lie in the start directory. The whole plan is read as the installer reads it before it
// writes anything. A plan taken must name only safe relative paths, each once in any case, no file
// where a directory goes, each directory after its parent and each file's size within its data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "installer/failure.h"
#include "installer/package.h"
#include "installer/paths.h"
#include "installer/plan.h"
#include "sandbox.h"
#include "textparts.h"
#include "tests/game/shell/soundmodule.h"

namespace {

// The module of a part's items; of two items alike in any case, the last. Lines without a name a module
// can hold are left out.
Bytes PackItems(const std::string& part)
{
    std::map<std::string, TestResource> items;
    for (const std::string& line : SplitText(part, "\n")) {
        const size_t equals = line.find('=');
        const std::string name = line.substr(0, equals);
        // Names a module can hold.
        if (equals == std::string::npos || name.empty() || name.size() > MODULE_MAXNAME ||
            name.find('\0') != std::string::npos)
            continue;
        const std::string value = line.substr(equals + 1);
        items[FoldPath(name)] = {PACKAGE_TYPE, name, Bytes(value.begin(), value.end())};
    }
    std::vector<TestResource> resources;
    for (auto& [folded, item] : items)
        resources.push_back(std::move(item));
    return SoundModuleBytes(std::move(resources));
}

std::string Parent(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

bool Sound(const InstallPlan& plan)
{
    std::set<std::string> dirs, files;
    for (const std::string& dir : plan.subdirs) {
        const std::string parent = Parent(dir);
        if (!IsSafeRelativePath(dir) || (!parent.empty() && !dirs.count(FoldPath(parent))) ||
            !dirs.insert(FoldPath(dir)).second)
            return false;
    }
    for (const PlannedFile& file : plan.files) {
        const std::string parent = Parent(file.path);
        if (!IsSafeRelativePath(file.path) || (!parent.empty() && !dirs.count(FoldPath(parent))) ||
            dirs.count(FoldPath(file.path)) || !files.insert(FoldPath(file.path)).second ||
            (file.size > 0 && !file.data))
            return false;
        uint32_t sum = 0;       // every byte planned is read: within its module's bytes
        for (size_t i = 0; i < file.size; i++)
            sum += file.data[i];
        volatile uint32_t sink = sum;
        (void)sink;
    }
    return true;
}

} // namespace

// Reads the plan of an input; true when the installer takes it (the seed tests ask).
bool TakePackageInput(const uint8_t* data, size_t size)
{
    static const FuzzSandbox sandbox("package");
    const std::vector<std::string> parts = InputParts(std::string((const char*)data, size), 3);
    for (int i = 1; i < 3; i++) {
        const Bytes component = PackItems(parts[i]);
        std::ofstream(sandbox.Path() / (i == 1 ? "A.DLL" : "B.DLL"), std::ios::binary | std::ios::trunc)
            .write((const char*)component.data(), (std::streamsize)component.size());
    }
    Module* const package = OpenModuleFromBytes(PackItems(parts[0]));
    if (!package)
        abort();    // the packing is ours and always valid
    bool taken = false;
    try {
        InstallPlan plan;
        ReadInstallPlan(package, sandbox.Path().string(), &plan);
        if (!Sound(plan))
            abort();
        taken = true;
    } catch (const std::string&) {
    } catch (const SUPEREXCEPTION&) {
    }
    CloseModule(package);
    return taken;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TakePackageInput(data, size);
    return 0;
}
