// Writing the current read buffer as a plain-text PPM ("P3") file.
#pragma once

#include <cstdint>
#include <string>

// Writes `<name>.ppm` in the working directory: header "P3\n<w> <h>\n255\n",
// then one line per row, top row first, each pixel as "%3d %3d %3d ". A file
// that cannot be created costs one console line and nothing is written.
void saveScreenshot(std::string name, std::uint32_t width, std::uint32_t height);
