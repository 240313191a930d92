// The neutral side, "Unaligned": the computer player that guards the gold mines. Human players are
// added with AddPlayer (state.h).
#pragma once

// Appends the neutral record, last in p; on the host also announces it. Nothing happens when the
// table already has one. Always false.
bool AddComputerPlayer();
