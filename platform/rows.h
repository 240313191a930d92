// The innermost loops of the blits and the text, one row at a time, in every version the processor may
// run. Its source is built as it ships in every build (optimised, without the sanitizers, the test build
// too), so its tests run the vector code the game runs.
#pragma once
#include <cstdint>

// One row of a keyed copy: each to[j] takes from[j] unless that is the key.
using KeyedRow = void (*)(uint32_t* to, const uint32_t* from, int32_t width, uint32_t key);

struct KeyedRowVersion {
    const char* isa;            // the instruction set it is built for; "default" runs on any processor
    KeyedRow row;
    bool (*runs)();             // whether this processor has that instruction set
};
// Every version of the keyed row, widest first; the last is the default.
extern const KeyedRowVersion keyedrowversions[];
extern const int keyedrowversioncount;

// The first version of keyedrowversions this processor runs, picked once.
KeyedRow PickedKeyedRow();
// A keyed row by the picked version.
void CopyKeyedRow(uint32_t* to, const uint32_t* from, int32_t width, uint32_t key);

// Text: colour (XRGB) over pixel by a glyph's coverage alpha (0-255), each channel
// (colour * alpha + pixel * (255 - alpha) + 127) / 255; full coverage gives the colour, none leaves the
// pixel as it was (its top byte too). One pixel, the plain way.
uint32_t BlendTextPixel(uint32_t pixel, uint32_t colour, uint32_t alpha);
// A row of count pixels under count coverages, as BlendTextPixel does each: four at a time where the
// processor can, the rest one by one.
void BlendTextRow(uint32_t* to, const uint8_t* coverage, int32_t count, uint32_t colour);
