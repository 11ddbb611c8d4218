// Reading PPM images (plain "P3" and binary "P6") back in tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PpmImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // top row first, three bytes per pixel

    // The pixel at window coordinates (x, y), y growing downward.
    std::vector<int> at(int x, int y) const;
};

std::optional<PpmImage> parsePpm(const std::string& bytes);
