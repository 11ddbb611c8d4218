#include "support/ppm_image.h"

#include <sstream>

std::vector<int> PpmImage::at(int x, int y) const {
    const std::size_t offset = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                static_cast<std::size_t>(x)) *
                               3;
    return {rgb[offset], rgb[offset + 1], rgb[offset + 2]};
}

std::optional<PpmImage> parsePpm(const std::string& bytes) {
    std::istringstream stream(bytes);
    std::string magic;
    PpmImage image;
    int maximum = 0;
    stream >> magic >> image.width >> image.height >> maximum;
    if (!stream || (magic != "P3" && magic != "P6") || maximum != 255) {
        return std::nullopt;
    }
    const std::size_t count =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3;
    image.rgb.resize(count);
    if (magic == "P6") {
        stream.get();  // the single white-space byte after the header
        stream.read(reinterpret_cast<char*>(image.rgb.data()), static_cast<std::streamsize>(count));
    } else {
        for (std::size_t i = 0; i < count && stream; ++i) {
            int value = 0;
            stream >> value;
            image.rgb[i] = static_cast<std::uint8_t>(value);
        }
    }
    if (!stream) {
        return std::nullopt;
    }
    return image;
}
