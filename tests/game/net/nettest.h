// What the network tests share: a clean game and network for each test, a small string module
// (version 1.2.3.4), the log captured, what the network announces recorded (tests/game/support/heard.h),
// and frames written independently of the game's own framer.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/game/support/heard.h"

class NetTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    bool Logged(const std::string& text) const { return log.find(text) != std::string::npos; }

    std::string log;
};

std::string Bytes(std::initializer_list<int> bytes);    // a string of the given byte values
std::string Frame(const std::string& body);             // length byte + body + ';', counted here
void AddTestPlayer(const char* name, int32_t socket, bool host = false); // a human record
void AddUnitWithId(int32_t player, int32_t id, int32_t x, int32_t y); // a bare unit with a chosen id
void MakeTestMap(int32_t size);                         // an empty size x size map
void MakeTestCatalogue();                               // 3 unit types, spell 0 at a unit, spell 1 at a square
