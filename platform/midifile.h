// Standard MIDI files: the check a song passes before it is played, and its length.
#pragma once
#include <cstddef>
#include <cstdint>

// Walks every event of a Standard MIDI file (format 0, 1 or 2); true when the bytes are not one.
// On success *lengthms is the time from the start to the last note on or off (to the last event when
// it has no notes), by the file's tempo changes.
bool MeasureMidiFile(const uint8_t* data, size_t size, uint32_t* lengthms);
