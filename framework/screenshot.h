// Writing the current read buffer as a plain-text PPM ("P3") file.
//
// The file is about 12 characters per pixel, so the formatting avoids one
// formatted call per value: each component's "%3d " text comes from a
// 256-entry table and every row is built in memory and written at once. The
// pure part (pixels to bytes) is separate from the OpenGL read so that the
// exact bytes can be checked without a context.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Writes `<name>.ppm` in the working directory: header "P3\n<w> <h>\n255\n",
// then one line per row, top row first, each pixel as "%3d %3d %3d ". The
// pixels come from glReadPixels at (0, 0) with a pack alignment of 1; the
// read buffer is the caller's choice. A file that cannot be created costs
// one console line, nothing is written and the result is false.
bool saveScreenshot(std::string name, std::uint32_t width, std::uint32_t height);

// Writes the PPM text of `pixels` (RGB bytes, rows tightly packed, bottom row
// first as OpenGL delivers them) to `file`. Produces exactly the bytes of a
// "%3d %3d %3d " write per pixel and a "\n" per row.
void writePpm(std::FILE* file, const std::uint8_t* pixels, std::uint32_t width,
              std::uint32_t height);
