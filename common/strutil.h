// Small helpers on standard strings, shared by the game and the updater.
#pragma once
#include <cstdint>
#include <string>

std::string ToLowerString(const std::string& s);        // 'A'..'Z' lowered, everything else kept
std::string TrimLeft(const std::string& s);             // without its leading white space
std::string TrimRight(const std::string& s);            // without its trailing white space
std::string Trim(const std::string& s);                 // without white space at either end
std::string SplitToken(std::string& token, std::string& s); // cuts the first word off s into token; returns it
std::string IntToString(int32_t value);                 // decimal text, '-' for a negative number
