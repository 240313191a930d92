// Log lines from the platform layer and the shared code (a refused picture, a missing font face).
//
// The programs point them at their own log; until then they go to stderr.
#pragma once

typedef void (*LogSink)(const char* line);

void SysLog(const char* line);          // one line, without its line end
void SetLogSink(LogSink sink);          // where lines go from now on; null: stderr
