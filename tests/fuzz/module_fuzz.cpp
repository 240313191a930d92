// libFuzzer target: arbitrary bytes as a data module. A module that opens must answer every lookup
// from inside its own bytes: the strings it may hold are read whole and cut short, and the resources
// the probes name are found or not, their bytes read to the last.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/module.h"

namespace {

// What lookups touch, summed so that every byte is read.
volatile uint32_t sink;

void ReadString(const Module* module, uint32_t id)
{
    char text[64];
    const int length = ModuleString(module, id, text, (int)(1 + id % sizeof text));
    uint32_t sum = 0;
    for (int i = 0; i <= length; i++)
        sum += (unsigned char)text[i];
    sink = sum;
}

void ReadResource(const Module* module, const char* type, const char* name)
{
    ModuleData data;
    if (FindModuleResource(module, type, name, &data))
        return;
    uint32_t sum = 0;
    for (size_t i = 0; i < data.size; i++)
        sum += data.data[i];
    sink = sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Module* const module = OpenModuleFromBytes(std::vector<uint8_t>(data, data + size));
    if (!module)
        return 0;
    // The seeds number their strings from 0, as the game numbers its own from some base.
    for (uint32_t id = 0; id < 40; id++)
        ReadString(module, id);
    ReadString(module, UINT32_MAX);
    for (const char* type : {"BITMAP", "WAVE", "WAV", "DATA"})
        for (const char* name : {"a", "B", "terrain.bmp", "GSGold", ""})
            ReadResource(module, type, name);
    CloseModule(module);
    return 0;
}
