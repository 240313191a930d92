#include "game/net/codings.h"

#include <charconv>

uint8_t EncodeNum(int32_t value)
{
    return (uint8_t)(value + NUMOFFSET);
}

int32_t DecodeNum(uint8_t byte)
{
    return (int8_t)(uint8_t)(byte - NUMOFFSET);
}

int32_t DecodeNumUnsigned(uint8_t byte)
{
    return (uint8_t)(byte - NUMOFFSET);
}

int32_t TranslateChar(char c)
{
    return (uint8_t)c;
}

uint32_t PackVersion(const int32_t parts[4])
{
    uint32_t packed = 0;
    for (int i = 0; i < 4; i++)
        packed = packed << 8 | ((uint32_t)parts[i] & 0xFF);
    return packed;
}

MsgWriter::MsgWriter(char kind)
{
    body.push_back(kind);
}

MsgWriter& MsgWriter::Num(int32_t value)
{
    if (value < 1 - NUMOFFSET || value > 255 - NUMOFFSET)
        bad = true;
    body.push_back((char)EncodeNum(value));
    return *this;
}

MsgWriter& MsgWriter::Raw(int32_t value)
{
    if (value < 1 || value > 255)
        bad = true;
    body.push_back((char)(uint8_t)value);
    return *this;
}

MsgWriter& MsgWriter::Id(int32_t id)
{
    if (id < 0 || id > 0xFFFF || (id >> 8) == 0 || (id & 0xFF) == 0)
        bad = true;
    body.push_back((char)(uint8_t)(id >> 8));
    body.push_back((char)(uint8_t)id);
    return *this;
}

MsgWriter& MsgWriter::Dec(int32_t value)
{
    body += std::to_string(value);
    return *this;
}

MsgWriter& MsgWriter::Text(const std::string& text)
{
    if (text.find('\0') != std::string::npos)
        bad = true;
    body += text;
    return *this;
}

std::string MsgWriter::Finish()
{
    if (bad)
        return "";
    return body + ';';
}

int32_t MsgReader::Num()
{
    if (Left() < 1) {
        bad = true;
        return 0;
    }
    return DecodeNum((uint8_t)text[pos++]);
}

int32_t MsgReader::NumUnsigned()
{
    if (Left() < 1) {
        bad = true;
        return 0;
    }
    return DecodeNumUnsigned((uint8_t)text[pos++]);
}

int32_t MsgReader::Raw()
{
    if (Left() < 1 || text[pos] == '\0') {
        bad = true;
        return 0;
    }
    return TranslateChar(text[pos++]);
}

int32_t MsgReader::Id()
{
    if (Left() < 2 || text[pos] == '\0' || text[pos + 1] == '\0') {
        bad = true;
        return 0;
    }
    const int32_t id = TranslateChar(text[pos]) * 256 + TranslateChar(text[pos + 1]);
    pos += 2;
    return id;
}

int32_t MsgReader::Dec()
{
    const char* const first = text.data() + pos;
    const char* const last = text.data() + pos + Left();
    int32_t value = 0;
    // from_chars refuses a '+', an empty field and a number that does not fit; the field must be all digits.
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || last - first > 11) {
        bad = true;
        return 0;
    }
    pos = text.size();
    return value;
}

std::string MsgReader::Text(size_t limit)
{
    std::string rest = text.substr(pos < text.size() ? pos : text.size());
    pos = text.size();
    if (rest.size() > limit)
        rest.resize(limit);
    return rest;
}
