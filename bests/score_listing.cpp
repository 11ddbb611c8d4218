#include "bests/score_listing.h"

#include <cstdio>

namespace {

const char* const kColumns = "rank  score  seed        date (UTC)            ended       recording";

std::string padded(const std::string& text, std::size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string entryLine(std::size_t rank, const BestEntry& entry, const std::string& folder) {
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, "%4zu  %5d  ", rank, entry.score);
    const std::string recording =
        entry.recording == kNoRecording
            ? "(not kept: the run was too long)"
            : folder + "/" + entry.recording + " (game index " + std::to_string(entry.index) + ")";
    return numbers + padded(std::to_string(entry.seed), 12) + padded(entry.when, 22) +
           padded(entry.ending, 12) + recording;
}

void addTable(std::vector<std::string>& lines, const std::string& title,
              const std::vector<BestEntry>& games, const std::string& folder) {
    lines.push_back(title);
    lines.push_back(kColumns);
    for (std::size_t i = 0; i < games.size(); ++i) {
        lines.push_back(entryLine(i + 1, games[i], folder));
    }
}

}  // namespace

std::vector<std::string> scoreLines(const TableRead& read, const std::string& folder) {
    const std::string path = folder + "/bests.txt";
    if (folder.empty()) {
        return {"No bests are kept: neither XDG_DATA_HOME nor HOME is set"};
    }
    if (read.state == TableState::Newer) {
        return {"The table of bests " + path + " was written by a newer QUORLAND (" + read.problem +
                ")"};
    }
    if (read.state == TableState::Corrupt) {
        return {"The table of bests " + path + " is damaged (" + read.problem +
                "); the next game sets it aside"};
    }
    if (read.table.overall.empty()) {
        return {"No bests yet: no game is kept in " + path};
    }
    std::vector<std::string> lines;
    addTable(lines, "Best games overall:", read.table.overall, folder);
    for (const CourseBests& course : read.table.courses) {
        addTable(lines, "Best games on course " + std::to_string(course.seed) + ":", course.games,
                 folder);
    }
    return lines;
}
