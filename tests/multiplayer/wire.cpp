#include "wire.h"

#include <cstdint>
#include <fstream>
#include <map>
#include <utility>

#include "game/net/sendqueue.h"
#include "game/net/socketevents.h"
#include "platform/socket.h"

namespace {

// One direction of one connection: its bytes in order, and when it was first seen (socket numbers may
// differ from run to run; the order connections first carry bytes does not).
struct Stream {
    std::string bytes;
    int32_t first = 0;
};

std::map<std::pair<int, bool>, Stream> streams;     // by socket and whether sent
int32_t seen = 0;

void Keep(int socket, bool sent, const void* data, int n)
{
    if (n <= 0)
        return;
    Stream& stream = streams[{socket, sent}];
    if (stream.bytes.empty())
        stream.first = seen++;
    stream.bytes.append((const char*)data, (size_t)n);
}

int CapturedSend(int socket, const void* data, int size, int* error)
{
    const int n = SocketSend(socket, data, size, error);
    Keep(socket, true, data, n);
    return n;
}

int CapturedReceive(int socket, void* buffer, int size, int* error)
{
    const int n = SocketReceive(socket, buffer, size, error);
    Keep(socket, false, buffer, n);
    return n;
}

uint64_t Fnv1a(const std::string& bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= (uint8_t)c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Whole frames in a stream, each counted by its length byte; a cut frame at the end is not counted.
int32_t FrameCount(const std::string& bytes)
{
    int32_t frames = 0;
    for (size_t at = 0; at < bytes.size() && (uint8_t)bytes[at] > 0; at += (uint8_t)bytes[at])
        if (at + (uint8_t)bytes[at] <= bytes.size())
            frames++;
    return frames;
}

} // namespace

void CaptureWire()
{
    SetSendFunction(CapturedSend);
    SetReceiveFunction(CapturedReceive);
}

bool WriteWireDigest(const std::string& path)
{
    std::map<int32_t, std::pair<bool, const std::string*>> ordered;
    for (const auto& [key, stream] : streams)
        ordered[stream.first] = {key.second, &stream.bytes};
    std::ofstream out(path);
    int32_t n = 0;
    for (const auto& [first, stream] : ordered)
        out << "stream " << n++ << ' ' << (stream.first ? "sent" : "received") << " frames "
            << FrameCount(*stream.second) << " bytes " << stream.second->size() << " fnv " << std::hex
            << Fnv1a(*stream.second) << std::dec << '\n';
    out.close();
    return !out;
}
