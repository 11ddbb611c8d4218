// Any bytes as a DDS file: the pure header parse, then the whole load
// (both reads) from a file holding the same bytes. A usable result must
// hold a buffer of at least the level size OpenGL would be told.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "render/dds_reader.h"

namespace {

std::string scratchPath() {
    return "/tmp/quorland_fuzz_dds_" + std::to_string(getpid()) + ".dds";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const DdsDescription description = parseDdsHeader(data, size);
    if (description.verdict == DdsVerdict::Usable &&
        (description.width == 0 || description.height == 0 || description.blockBytes == 0)) {
        std::abort();
    }

    static const std::string path = scratchPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    const CompressedImage image = loadDDS(path);
    if (image.data) {
        const std::uint64_t level =
            compressedLevelSize(static_cast<std::uint32_t>(image.width),
                                static_cast<std::uint32_t>(image.height), description.blockBytes);
        if (level != image.imageSize || image.width <= 0 || image.height <= 0 ||
            size < description.dataOffset + std::uint64_t{image.imageSize}) {
            std::abort();
        }
        // Touch the last byte OpenGL would read; ASan reports it if it is not ours.
        volatile std::uint8_t last = image.data[image.imageSize - 1];
        (void)last;
    }
    return 0;
}
