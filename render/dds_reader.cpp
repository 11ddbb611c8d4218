#include "render/dds_reader.h"

// Placeholder until the real reader lands: every file fails to load.
CompressedImage loadDDS(const std::string& /*path*/) {
    return CompressedImage{};
}
