// Refused frames in the debug log: a peer that sends the same refused frame over and over is logged
// once, and then with a count, so a flood cannot fill the log with copies of one line.
#pragma once
#include <cstdint>
#include <string>

enum : uint32_t { DROPREPORTMS = 10000 };   // a run of repeats still going is counted in the log this often

// Logs line (ending in '\n') for a frame refused from socket, unless the connection's last refusal was of
// the same kind: then only counts it. The count goes to the log when the kind changes, every
// DROPREPORTMS, and at EndDrops.
void LogDrop(int32_t socket, const std::string& kind, const std::string& line);
void EndDrops(int32_t socket);              // logs the connection's uncounted repeats and forgets them (a frame taken, the connection ended)
void ClearDrops();                          // forgets every connection's (the network was shut down)
