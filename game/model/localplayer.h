// The local player: the record of p that this machine plays.
//
// He is known by his record's stamp, which survives records being appended or erased around his;
// the index is cached because nearly every rule and drawing step asks for it.
#pragma once
#include <cstdint>
#include <string>

extern int32_t you;                     // the local player's sizeattime stamp; NOSTAMP for none
// The name he plays by (the "name" preference): hosting names his record with it, joining sends it.
extern std::string playername;

// Index of the local player in p; 0 when there is none or no record carries his stamp.
// force searches again; reset drops the cached index first.
int32_t YouToInt(bool force = false, bool reset = false);
void DropLocalPlayerCache();            // forgets the cached index (p gained or lost a record)
