// Hand-made S3TC blocks for the decoder's tests and the driver comparisons.
#pragma once

#include <cstdint>
#include <vector>

// A DXT1 colour block (also the colour half of DXT3/DXT5): two 5:6:5 end
// points, then texel i takes index i % 4.
inline std::vector<std::uint8_t> colourBlock(std::uint16_t c0, std::uint16_t c1) {
    const std::uint8_t cycle = 0b11100100;  // indices 0, 1, 2, 3 along each row
    return {static_cast<std::uint8_t>(c0),
            static_cast<std::uint8_t>(c0 >> 8),
            static_cast<std::uint8_t>(c1),
            static_cast<std::uint8_t>(c1 >> 8),
            cycle,
            cycle,
            cycle,
            cycle};
}

// `first` followed by `second`: an alpha block and its colour block, say.
inline std::vector<std::uint8_t> concat(std::vector<std::uint8_t> first,
                                        const std::vector<std::uint8_t>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}
