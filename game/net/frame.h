// The frame on the wire: one length byte counting the whole frame, the kind character, the payload,
// and ';'. Frames are 3..255 bytes and hold no zero byte.
#pragma once
#include <string>

enum { MINFRAME = 3, MAXFRAME = 255, MAXBODY = MAXFRAME - 1 };

// The frame of a body (kind, payload and normally its ';'): a ';' is added when the body lacks one.
// "" (with an "ERROR: " line) for an empty body, a body with a zero byte, or one too long for a frame.
std::string BuildFrame(const std::string& body);

// Whether frame is whole and well formed: its length byte equals its size (3..255), it ends in ';' and
// holds no zero byte. On failure *why names the fault.
bool FrameIsSound(const std::string& frame, const char** why);

std::string LogText(const std::string& bytes);  // bytes as printable text for the log: others as \xNN
