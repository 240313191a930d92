// Small helpers on standard strings, shared by the game and the updater.
#pragma once
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

std::string ToLowerString(const std::string& s);        // 'A'..'Z' lowered, everything else kept
std::string TrimLeft(const std::string& s);             // without its leading white space
std::string TrimRight(const std::string& s);            // without its trailing white space
std::string Trim(const std::string& s);                 // without white space at either end
std::string SplitToken(std::string& token, std::string& s); // cuts the first word off s into token; returns it
std::string IntToString(int32_t value);                 // decimal text, '-' for a negative number
// Reads one line (up to a line feed, which is dropped) of at most limit bytes. False at the end of the
// input, and false with *overlong set when the line runs past the limit, so no file can make a reader
// hold more than one line's worth.
bool ReadLine(std::istream& in, std::string& line, size_t limit, bool* overlong);
