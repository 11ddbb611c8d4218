#include "game/classic_rand.h"

#include <cstdint>

namespace {

constexpr std::uint32_t initialState = 1u;
std::uint32_t state = initialState;  // wraps modulo 2^32 by unsigned arithmetic

}  // namespace

int classicRand() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7fffu);
}

void resetClassicRand() {
    state = initialState;
}
