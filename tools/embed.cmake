# cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DFUNCTION=<name> -P embed.cmake
# Writes a C++ source whose function <name>() returns the bytes of <file>: a program's own resources
# built into it.
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPEAT "0x..," 16 row)
string(REGEX REPLACE "(${row})" "\\1\n        " bytes "${bytes}")
file(WRITE ${OUTPUT}.part
"// Generated from ${INPUT} by tools/embed.cmake.
#include <cstdint>
#include <vector>

std::vector<uint8_t> ${FUNCTION}()
{
    static const uint8_t bytes[] = {
        ${bytes}
    };
    return std::vector<uint8_t>(bytes, bytes + sizeof bytes);
}
")
file(RENAME ${OUTPUT}.part ${OUTPUT})
