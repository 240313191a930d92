// The field codings of a message body, and bounds-checked reading and writing of them.
//
// Every byte of a frame is non-zero (bodies travel as C strings): small numbers are sent as v + 50,
// raw bytes lie in 1..255, unit ids are two bytes high then low, both non-zero.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

enum { NUMOFFSET = 50 };

uint8_t EncodeNum(int32_t value);           // the small-number byte of value (value + 50, modulo 256)
int32_t DecodeNum(uint8_t byte);            // a small number read as signed (-128..127): coordinates, players, experience
int32_t DecodeNumUnsigned(uint8_t byte);    // a small number read as unsigned (0..255): spells, masks, types
int32_t TranslateChar(char c);              // a received character as an unsigned value 0..255
uint32_t PackVersion(const int32_t parts[4]); // four version parts as one number, part 1 highest

// Builds one message body: the kind character, the fields, and the closing ';'. A field that cannot be
// coded (a zero byte, a number out of range) spoils the whole body: Finish then returns "".
struct MsgWriter {
    std::string body;
    bool bad = false;

    explicit MsgWriter(char kind);
    MsgWriter& Num(int32_t value);          // small number, -49..205
    MsgWriter& Raw(int32_t value);          // raw byte, 1..255
    MsgWriter& Id(int32_t id);              // unit id, both bytes 1..255
    MsgWriter& Dec(int32_t value);          // decimal text (the last field)
    MsgWriter& Text(const std::string& text); // characters (the last field); no zero byte
    std::string Finish();                   // the body with its ';', or "" when a field was bad
};

// Reads the fields of a received message (kind character first, ';' already removed). Reading past the
// end, or a field out of its coding's range, sets bad and yields 0; handlers test bad once at the end.
struct MsgReader {
    const std::string& text;
    size_t pos = 1;                         // past the kind character
    bool bad = false;

    explicit MsgReader(const std::string& message) : text(message) {}
    char Kind() const { return text.empty() ? '\0' : text[0]; }
    size_t Left() const { return pos < text.size() ? text.size() - pos : 0; }
    int32_t Num();                          // signed small number
    int32_t NumUnsigned();                  // unsigned small number
    int32_t Raw();                          // raw byte 1..255
    int32_t Id();                           // unit id
    int32_t Dec();                          // decimal text to the end: optional '-', 1..10 digits, fits in 32 bits
    std::string Text(size_t limit);         // the rest of the body, cut to limit characters
};
