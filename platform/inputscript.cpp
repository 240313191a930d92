// The headless back end's input: reads are served from the script, one entry per read.
#include "platform/inputscript.h"

#include <cstring>
#include <deque>

#include "platform/inputops.h"

namespace {

struct KeyEntry {
    uint8_t state[256];
    int reads;
};

struct MouseEntry {
    MouseState state;
    int reads;
};

std::deque<KeyEntry> keyscript;
uint8_t consumed[256];              // the front entry's keys whose press is used up: they read up for the rest of it
bool frontserved = false;           // the front entry was read already
std::deque<MouseEntry> mousescript;
int failures = 0;
int keyboardreads = 0;
int mousereads = 0;

bool TakeFailure()
{
    if (failures == 0)
        return false;
    failures--;
    return true;
}

bool ScriptedOpen()
{
    return false;
}

void ScriptedClose()
{
}

bool ScriptedReadKeyboard(uint8_t state[256])
{
    if (TakeFailure())
        return true;
    keyboardreads++;
    memset(state, 0, 256);
    if (!frontserved)
        memset(consumed, 0, sizeof consumed);
    if (keyscript.empty())
        return false;
    KeyEntry& entry = keyscript.front();
    for (int i = 0; i < 256; i++)
        state[i] = consumed[i] ? 0 : entry.state[i];
    frontserved = true;
    if (--entry.reads <= 0) {
        keyscript.pop_front();
        frontserved = false;
    }
    return false;
}

// Only the entry being read holds the key: the next entry's keys are new presses.
void ScriptedConsumeKeyHold(uint8_t code)
{
    if (frontserved)
        consumed[code] = 1;
}

bool ScriptedReadMouse(MouseState* state)
{
    if (TakeFailure())
        return true;
    mousereads++;
    *state = MouseState{};
    if (mousescript.empty())
        return false;
    MouseEntry& entry = mousescript.front();
    *state = entry.state;
    // The movement happens once; the buttons stay down for the reads given.
    entry.state.x = entry.state.y = entry.state.z = 0;
    if (--entry.reads <= 0)
        mousescript.pop_front();
    return false;
}

} // namespace

const InputOps scriptedinput = {ScriptedOpen, ScriptedClose, ScriptedReadKeyboard, ScriptedReadMouse,
                                 ScriptedConsumeKeyHold};

void ScriptKeys(std::initializer_list<uint8_t> codes, int reads)
{
    KeyEntry entry{};
    for (const uint8_t code : codes)
        entry.state[code] = KEY_DOWNBIT;
    entry.reads = reads > 0 ? reads : 1;
    keyscript.push_back(entry);
}

void ScriptMouse(int32_t dx, int32_t dy, uint8_t buttons, int reads)
{
    MouseEntry entry{};
    entry.state.x = dx;
    entry.state.y = dy;
    for (int b = 0; b < 4; b++)
        entry.state.buttons[b] = (buttons >> b) & 1 ? KEY_DOWNBIT : 0;
    entry.reads = reads > 0 ? reads : 1;
    mousescript.push_back(entry);
}

void FailInputReads(int reads)
{
    failures = reads > 0 ? reads : 0;
}

void ClearInputScript()
{
    keyscript.clear();
    memset(consumed, 0, sizeof consumed);
    frontserved = false;
    mousescript.clear();
    failures = 0;
    keyboardreads = 0;
    mousereads = 0;
}

int ScriptedKeyboardReads()
{
    return keyboardreads;
}

int ScriptedMouseReads()
{
    return mousereads;
}
