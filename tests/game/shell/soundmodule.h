// Sound modules built in memory for the tests, in the file format of common/module.h.
#pragma once
#include <string>
#include <vector>

#include "tests/platform/fixtures/media.h"

struct TestResource {
    std::string type;       // "WAVE" or "WAV"
    std::string name;
    Bytes bytes;
};

Bytes SoundModuleBytes(std::vector<TestResource> resources);   // the module file
