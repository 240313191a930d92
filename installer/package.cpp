// Reading the items of the install package.
#include "installer/package.h"

#include <cstring>

ModuleData LoadPackageResource(const Module* module, const char* name)
{
    ModuleData data;
    if (FindModuleResource(module, PACKAGE_TYPE, name, &data))
        throw std::string(name);
    return data;
}

bool HasPackageResource(const Module* module, const char* name)
{
    ModuleData data;
    return !FindModuleResource(module, PACKAGE_TYPE, name, &data);
}

uint32_t PackageNumber(const Module* module, const char* name, const char* malformed)
{
    const ModuleData data = LoadPackageResource(module, name);
    if (data.size < 4)
        throw std::string(malformed);
    return (uint32_t)data.data[0] | (uint32_t)data.data[1] << 8 | (uint32_t)data.data[2] << 16
           | (uint32_t)data.data[3] << 24;
}

std::string PackageText(const Module* module, const char* name)
{
    const ModuleData data = LoadPackageResource(module, name);
    const void* const nul = memchr(data.data, 0, data.size);
    const size_t length = nul ? (size_t)((const uint8_t*)nul - data.data) : data.size;
    return std::string((const char*)data.data, length);
}

std::string ItemName(const char* prefix, uint32_t index)
{
    return prefix + std::to_string((uint64_t)index + PACKAGE_FIRSTINDEX);
}

void CheckPackageHead(const Module* module, const char* malformed)
{
    if (PackageNumber(module, "TQINSTALLHEAD", malformed) != PACKAGE_SIGNATURE)
        throw std::string(malformed);
}
