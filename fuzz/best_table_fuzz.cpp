// Any bytes as a table of bests: whatever reads as a good table is written
// back to the same text, and still reads as a good table, within its
// places, after a game is weighed into it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "bests/best_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TableRead read = readBestTable(text);
    if (read.state != TableState::Good) {
        return 0;
    }
    const std::string written = writeBestTable(read.table);
    const TableRead again = readBestTable(written);
    if (again.state != TableState::Good || writeBestTable(again.table) != written) {
        std::abort();
    }
    const BestEntry game{7, 20261209, "2026-12-09T10:00:00Z", "river", "game-x.replay", 0};
    const TextWeighing weighed = weighGameInText(written, game, true);
    const TableRead after = readBestTable(weighed.text);
    if (after.state != TableState::Good || after.table.overall.size() > kOverallPlaces ||
        after.table.courses.size() > kMaxCourses) {
        std::abort();
    }
    return 0;
}
