#include "game/net/frame.h"

#include <cstdio>

#include "game/shell/debuglog.h"

std::string BuildFrame(const std::string& body)
{
    if (body.empty()) {
        debuglog << "ERROR: Refused to send an empty message.\n";
        return "";
    }
    if (body.find('\0') != std::string::npos) {
        debuglog << "ERROR: Refused to send a message holding a zero byte: " << LogText(body) << '\n';
        return "";
    }
    std::string frame(1, '\0');
    frame += body;
    if (frame.back() != ';')
        frame += ';';
    // A longer frame would wrap its length byte, and the peer would cut the rest into false frames.
    if (frame.size() > MAXFRAME) {
        debuglog << "ERROR: Refused to send a message of " << body.size() << " bytes: " << LogText(body) << '\n';
        return "";
    }
    frame[0] = (char)(unsigned char)frame.size();
    return frame;
}

bool FrameIsSound(const std::string& frame, const char** why)
{
    const char* fault = nullptr;
    if (frame.size() < MINFRAME || frame.size() > MAXFRAME)
        fault = "bad size";
    else if ((unsigned char)frame[0] != frame.size())
        fault = "length byte differs from size";
    else if (frame.back() != ';')
        fault = "no closing ';'";
    else if (frame.find('\0', 1) != std::string::npos)
        fault = "zero byte";
    if (why)
        *why = fault;
    return fault == nullptr;
}

std::string LogText(const std::string& bytes)
{
    std::string text;
    for (const char c : bytes) {
        const unsigned char u = (unsigned char)c;
        if (u >= 0x20 && u <= 0x7E && u != '\\') {
            text += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            text += hex;
        }
    }
    return text;
}
