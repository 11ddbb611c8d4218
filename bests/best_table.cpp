#include "bests/best_table.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <tuple>

#include "replay/replay_fields.h"

namespace {

const char* const kMagic = "QUORLAND-BESTS";
const char* const kEndings[] = {"river", "carried", "ended", "unfinished"};

std::uint32_t fnv1a(const std::string& bytes) {
    std::uint32_t hash = 2166136261u;
    for (const char byte : bytes) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * 16777619u;
    }
    return hash;
}

std::string hex8(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

bool parseNumber(const std::string& text, unsigned long long limit, unsigned long long& value) {
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos ||
        (text.size() > 1 && text[0] == '0')) {
        return false;
    }
    value = std::stoull(text);
    return value <= limit;
}

// "2026-12-09T13:06:48Z": digits where digits go, the rest as written.
bool isWhen(const std::string& text) {
    const std::string shape = "dddd-dd-ddTdd:dd:ddZ";
    if (text.size() != shape.size()) {
        return false;
    }
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (shape[i] == 'd' ? !digit : text[i] != shape[i]) {
            return false;
        }
    }
    return true;
}

bool isEnding(const std::string& text) {
    return std::find(std::begin(kEndings), std::end(kEndings), text) != std::end(kEndings);
}

bool parseEntry(const std::vector<std::string>& fields, BestEntry& entry) {
    unsigned long long score = 0;
    unsigned long long seed = 0;
    unsigned long long index = 0;
    if (fields.size() != 7 || fields[0] != "best" || !parseNumber(fields[1], 2147483647u, score) ||
        !parseNumber(fields[2], 4294967295u, seed) || !isWhen(fields[3]) || !isEnding(fields[4]) ||
        (fields[5] != kNoRecording && !isRecordingName(fields[5])) ||
        !parseNumber(fields[6], 2147483647u, index)) {
        return false;
    }
    entry = {
        static_cast<int>(score), static_cast<std::uint32_t>(seed), fields[3], fields[4], fields[5],
        static_cast<int>(index)};
    return true;
}

std::string entryLine(const BestEntry& entry) {
    return "best " + std::to_string(entry.score) + " " + std::to_string(entry.seed) + " " +
           entry.when + " " + entry.ending + " " + entry.recording + " " +
           std::to_string(entry.index) + "\n";
}

// Reads the lines after the version line into `table`; "" or what is wrong.
std::string parseBody(const std::vector<std::string>& lines, BestTable& table) {
    if (lines.size() < 2 || lines[1] != "overall") {
        return "line 2: expected 'overall'";
    }
    std::vector<BestEntry>* games = &table.overall;
    std::size_t places = kOverallPlaces;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::string where = "line " + std::to_string(i + 1) + ": ";
        const std::vector<std::string> fields = splitFields(lines[i]);
        unsigned long long seed = 0;
        BestEntry entry;
        if (fields.size() == 2 && fields[0] == "course" &&
            parseNumber(fields[1], 4294967295u, seed)) {
            const bool known = std::any_of(table.courses.begin(), table.courses.end(),
                                           [seed](const CourseBests& c) { return c.seed == seed; });
            if (known || table.courses.size() == kMaxCourses ||
                (!table.courses.empty() && table.courses.back().games.empty())) {
                return where + "a course twice, more than " + std::to_string(kMaxCourses) +
                       " courses or a course without games";
            }
            table.courses.push_back({static_cast<std::uint32_t>(seed), {}});
            games = &table.courses.back().games;
            places = kCoursePlaces;
        } else if (parseEntry(fields, entry) && games->size() < places) {
            games->push_back(entry);
        } else {
            return where + "not a course or a game of its table";
        }
    }
    if (!table.courses.empty() && table.courses.back().games.empty()) {
        return "line " + std::to_string(lines.size()) + ": a course without games";
    }
    return "";
}

void sortBest(std::vector<BestEntry>& games) {
    std::stable_sort(games.begin(), games.end(), ranksAbove);
}

// Puts `game` in its place in `games` if it ranks within `places`; whether it did.
bool placeGame(std::vector<BestEntry>& games, const BestEntry& game, std::size_t places) {
    const auto at = std::upper_bound(games.begin(), games.end(), game, ranksAbove);
    if (static_cast<std::size_t>(at - games.begin()) >= places) {
        return false;
    }
    games.insert(at, game);
    if (games.size() > places) {
        games.resize(places);
    }
    return true;
}

}  // namespace

bool BestEntry::operator==(const BestEntry& other) const {
    return std::tie(score, seed, when, ending, recording, index) ==
           std::tie(other.score, other.seed, other.when, other.ending, other.recording,
                    other.index);
}

bool ranksAbove(const BestEntry& a, const BestEntry& b) {
    if (a.score != b.score) {
        return a.score > b.score;
    }
    return std::tie(a.when, a.recording, a.index) < std::tie(b.when, b.recording, b.index);
}

bool isRecordingName(const std::string& name) {
    const std::string ending = ".replay";
    return name.size() > ending.size() && name[0] != '.' &&
           name.compare(name.size() - ending.size(), ending.size(), ending) == 0 &&
           name.find_first_not_of(
               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
               "0123456789._-") == std::string::npos;
}

TableRead readBestTable(const std::string& text) {
    TableRead read;
    if (text.empty()) {
        return read;
    }
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    const std::vector<std::string> first = splitFields(lines[0]);
    unsigned long long version = 0;
    if (first.size() != 2 || first[0] != kMagic || !parseNumber(first[1], 4294967295u, version) ||
        version == 0) {
        return {TableState::Corrupt, {}, "line 1: not a table of bests"};
    }
    if (version > kBestTableVersion) {
        return {TableState::Newer, {}, "version " + first[1]};
    }
    const std::size_t checksumAt = text.rfind("checksum ");
    if (version != kBestTableVersion || text.back() != '\n' || checksumAt == std::string::npos ||
        (checksumAt > 0 && text[checksumAt - 1] != '\n') ||
        text.substr(checksumAt) != "checksum " + hex8(fnv1a(text.substr(0, checksumAt))) + "\n") {
        return {TableState::Corrupt,
                {},
                "line " + std::to_string(lines.size()) + ": the checksum does not match"};
    }
    lines.pop_back();
    const std::string problem = parseBody(lines, read.table);
    if (!problem.empty()) {
        return {TableState::Corrupt, {}, problem};
    }
    sortBest(read.table.overall);
    for (CourseBests& course : read.table.courses) {
        sortBest(course.games);
    }
    return read;
}

std::string writeBestTable(const BestTable& table) {
    std::string text =
        std::string(kMagic) + " " + std::to_string(kBestTableVersion) + "\noverall\n";
    for (const BestEntry& entry : table.overall) {
        text += entryLine(entry);
    }
    for (const CourseBests& course : table.courses) {
        text += "course " + std::to_string(course.seed) + "\n";
        for (const BestEntry& entry : course.games) {
            text += entryLine(entry);
        }
    }
    return sealBestTable(text);
}

std::string sealBestTable(const std::string& body) {
    return body + "checksum " + hex8(fnv1a(body)) + "\n";
}

Weighing weighGame(BestTable table, const BestEntry& game, bool chosenCourse) {
    Weighing result;
    result.placed = placeGame(table.overall, game, kOverallPlaces);
    result.changed = result.placed || chosenCourse;
    if (chosenCourse) {
        const auto found =
            std::find_if(table.courses.begin(), table.courses.end(),
                         [&game](const CourseBests& c) { return c.seed == game.seed; });
        CourseBests course{game.seed, {}};
        if (found != table.courses.end()) {
            course = std::move(*found);
            table.courses.erase(found);
        }
        result.placed = placeGame(course.games, game, kCoursePlaces) || result.placed;
        table.courses.insert(table.courses.begin(), std::move(course));
        if (table.courses.size() > kMaxCourses) {
            table.courses.resize(kMaxCourses);
        }
    }
    result.table = std::move(table);
    return result;
}

std::set<std::string> recordingsOf(const BestTable& table) {
    std::set<std::string> names;
    const auto add = [&names](const std::vector<BestEntry>& games) {
        for (const BestEntry& entry : games) {
            if (entry.recording != kNoRecording) {
                names.insert(entry.recording);
            }
        }
    };
    add(table.overall);
    for (const CourseBests& course : table.courses) {
        add(course.games);
    }
    return names;
}

TextWeighing weighGameInText(const std::string& tableText, const BestEntry& game,
                             bool chosenCourse) {
    TextWeighing result;
    result.read = readBestTable(tableText);
    if (result.read.state == TableState::Good) {
        result.weighing = weighGame(result.read.table, game, chosenCourse);
        result.text = writeBestTable(result.weighing.table);
    }
    return result;
}
