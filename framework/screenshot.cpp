#include "framework/screenshot.h"

#include <GL/glew.h>

#include <array>
#include <cstring>
#include <vector>

#include "framework/console.h"

namespace {

constexpr std::size_t kCellBytes = 4;  // "%3d " of one component
constexpr std::size_t kPixelBytes = 3 * kCellBytes;

// "%3d " for every byte value: right-aligned in three characters, then a blank.
using CellTable = std::array<std::array<char, kCellBytes>, 256>;

CellTable makeCellTable() {
    CellTable table{};
    for (std::size_t value = 0; value < table.size(); ++value) {
        const auto hundreds = static_cast<char>('0' + value / 100);
        const auto tens = static_cast<char>('0' + value / 10 % 10);
        const auto ones = static_cast<char>('0' + value % 10);
        table[value] = {value >= 100 ? hundreds : ' ', value >= 10 ? tens : ' ', ones, ' '};
    }
    return table;
}

const CellTable& cellTable() {
    static const CellTable table = makeCellTable();
    return table;
}

}  // namespace

void writePpm(std::FILE* file, const std::uint8_t* pixels, std::uint32_t width,
              std::uint32_t height) {
    std::fprintf(file, "P3\n%u %u\n%d\n", width, height, 255);
    const CellTable& table = cellTable();
    const std::size_t rowBytes = std::size_t{width} * 3;
    std::vector<char> line(std::size_t{width} * kPixelBytes + 1);
    line.back() = '\n';
    for (std::uint32_t i = 0; i < height; ++i) {
        // OpenGL's row 0 is the bottom; the file starts with the top row.
        const std::uint8_t* row = pixels + std::size_t{height - 1 - i} * rowBytes;
        char* out = line.data();
        for (std::size_t component = 0; component < rowBytes; ++component) {
            std::memcpy(out, table[row[component]].data(), kCellBytes);
            out += kCellBytes;
        }
        std::fwrite(line.data(), 1, line.size(), file);
    }
}

bool saveScreenshot(std::string name, std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> pixels(std::size_t{width} * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGB,
                 GL_UNSIGNED_BYTE, pixels.data());

    const std::string fileName = name + ".ppm";
    std::FILE* file = std::fopen(fileName.c_str(), "w");
    if (file == nullptr) {
        printLine("Unable to write screenshot file [" + fileName + "]");
        return false;
    }
    writePpm(file, pixels.data(), width, height);
    std::fclose(file);
    return true;
}
