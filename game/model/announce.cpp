#include "game/model/announce.h"

namespace {

void NoFeed(int32_t, const std::string&, uint32_t, int32_t) {}
void NoName(const std::string&) {}
void NoEffect(int32_t, int32_t, int32_t, int32_t, uint8_t, uint8_t) {}
void NoUnitNumber(int32_t, int32_t, int32_t) {}
void NoMs(uint32_t) {}
void NoPair(int32_t, int32_t) {}
void NoOne(int32_t) {}
void Nothing() {}
void NoError(const std::string&, const std::string&, int32_t) {}

} // namespace

const Announcer silentannouncer = {
    NoFeed, NoName, NoEffect, NoUnitNumber, NoMs, NoPair, Nothing, NoOne, NoOne, Nothing,
    NoPair, NoPair, Nothing, Nothing, NoError, Nothing,
};

const Announcer* announcer = &silentannouncer;

void ListenToRules(const Announcer* const listener)
{
    announcer = listener ? listener : &silentannouncer;
}
