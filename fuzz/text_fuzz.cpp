// Any bytes as a HUD text (embedded NULs included), at an origin taken from
// the first eight bytes: the quads built must stay within the font's scratch
// area and the measures must not fault.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "render/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    float origin[2] = {10.0f, 20.0f};
    if (size >= sizeof origin) {
        std::memcpy(origin, data, sizeof origin);
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string afterOrigin = size >= sizeof origin ? text.substr(sizeof origin) : text;

    for (const std::string* candidate : {&text, &afterOrigin}) {
        const std::vector<float> vertices = buildTextVertices(*candidate, origin[0], origin[1]);
        if (vertices.size() % 12 != 0 || vertices.size() / 12 > kMaxTextQuads) {
            std::abort();
        }
        (void)textWidth(*candidate);
        (void)textHeight(*candidate);
    }
    return 0;
}
