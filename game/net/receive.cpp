#include "game/net/receive.h"

#include <map>
#include <string>

#include "game/net/dispatch.h"
#include "game/net/frame.h"
#include "game/net/socketevents.h"
#include "game/shell/debuglog.h"
#include "platform/socket.h"
#include "platform/window.h"

namespace {

struct ReceiveBuffer {
    std::string bytes;
    uint64_t serial;                        // tells a buffer from a later one of the same descriptor
};

std::map<int32_t, ReceiveBuffer> buffers;
uint64_t nextserial = 1;

// The buffer of a connection if it is still the one with that serial, else null.
ReceiveBuffer* Current(int32_t socket, uint64_t serial)
{
    const auto found = buffers.find(socket);
    return found != buffers.end() && found->second.serial == serial ? &found->second : nullptr;
}

} // namespace

void ReceiveBytes(int32_t socket, const uint8_t* data, size_t size)
{
    auto found = buffers.find(socket);
    if (found == buffers.end())
        found = buffers.emplace(socket, ReceiveBuffer{std::string(), nextserial++}).first;
    const uint64_t serial = found->second.serial;
    found->second.bytes.append((const char*)data, size);

    const bool hadwindow = MainWindowExists();
    for (;;) {
        // A handler may close this connection, or end the program, while a frame is dispatched.
        ReceiveBuffer* const buffer = Current(socket, serial);
        if (!buffer || buffer->bytes.empty() || (hadwindow && !MainWindowExists()))
            return;
        const size_t length = (uint8_t)buffer->bytes[0];
        if (length < MINFRAME) {
            debuglog << "ERROR: Sanity check failed on input stream!  (length byte " << length << " on socket " << socket
                     << ")\n";
            buffers.erase(socket);
            ConnectionBroken(socket, NETERR_PROTOCOL);
            return;
        }
        if (buffer->bytes.size() < length)
            return;
        const std::string frame = buffer->bytes.substr(0, length);
        buffer->bytes.erase(0, length);
        DoMessage(frame, socket, 0);
    }
}

void DropReceiveBuffer(int32_t socket)
{
    buffers.erase(socket);
}

void ClearReceiveBuffers()
{
    buffers.clear();
}

size_t BufferedBytes(int32_t socket)
{
    const auto found = buffers.find(socket);
    return found == buffers.end() ? 0 : found->second.bytes.size();
}

std::string BufferedText(int32_t socket)
{
    const auto found = buffers.find(socket);
    return found == buffers.end() ? std::string() : found->second.bytes;
}
