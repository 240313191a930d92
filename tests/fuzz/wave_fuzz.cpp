// libFuzzer target: arbitrary bytes as a WAVE resource of the sound module, made into a sound the way
// the sound cache makes one (header, format checks, the samples read out, the output's chunk).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/module.h"
#include "game/shell/sound.h"
#include "platform/audio.h"
#include "tests/game/shell/soundmodule.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Module* const module = OpenModuleFromBytes(SoundModuleBytes({{"WAVE", "sound", Bytes(data, data + size)}}));
    if (!module)
        abort();    // the wrapping is ours and always valid
    SoundBuffer record{nullptr, 0};
    ResLoad(&record, "sound", module);
    if (record.loaded != (record.buffer != nullptr))
        abort();
    FreeSoundChunk(record.buffer);
    CloseModule(module);
    return 0;
}
