// The bytes each connection carries, as the game's network layer sends and receives them, kept so that
// a run's traffic can be compared with another's.
#pragma once
#include <string>

void CaptureWire();                             // from now on, every byte sent or received is kept
bool WriteWireDigest(const std::string& path);  // one line per connection and direction; true on failure
