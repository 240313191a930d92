// The game's texts are CP1252 bytes; the system speaks UTF-8. These convert between the two.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

uint32_t Cp1252ToUnicode(uint8_t c);                // the code point of one CP1252 byte (the five unused bytes map to C1 controls)
std::string Cp1252ToUtf8(std::string_view text);    // CP1252 text as UTF-8
std::string Utf8ToCp1252(std::string_view text);    // UTF-8 as CP1252; characters CP1252 lacks and malformed bytes are dropped
