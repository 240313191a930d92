// The headless back end's scripted input: each entry is what one read of a device sees.
//
// A scripted key or button is down for the reads it was given and up on the read after; each entry is
// a press of its keys, so a key down in two entries one after the other was pressed twice. A key whose
// press is used up (ConsumeKeyHold) reads up for the rest of its entry. With nothing scripted a read
// sees every key and button up and no movement.
#pragma once
#include <cstdint>
#include <initializer_list>

void ScriptKeys(std::initializer_list<uint8_t> codes, int reads = 1); // these keys down together (a chord) for the next reads of the keyboard
void ScriptMouse(int32_t dx, int32_t dy, uint8_t buttons = 0, int reads = 1); // movement on the first read, buttons (bit n = button n) held for the next reads
void FailInputReads(int reads);             // the next reads of either device fail (a lost device)
void ClearInputScript();                    // drops what is scripted and any pending failures
int ScriptedKeyboardReads();                // keyboard reads served since the script was cleared
int ScriptedMouseReads();                   // mouse reads served since the script was cleared
