#include "bests/best_store.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "bests/durable_file.h"
#include "bests/utc_date.h"

namespace {

const char* const kTableName = "bests.txt";
const char* const kLockName = "bests.lock";
const char* const kDamagedMark = ".damaged-";

// The whole file, or nothing when it does not exist; `failed` when it
// exists but cannot be read.
std::optional<std::string> readFile(const std::string& path, bool& failed) {
    failed = false;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        failed = static_cast<bool>(error);
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    failed = !file.good() && !file.eof();
    return failed ? std::nullopt : std::optional<std::string>(bytes.str());
}

std::string readWholeText(const std::string& path) {
    bool failed = false;
    return readFile(path, failed).value_or("");
}

// A file of the store that the sweep may remove: a recording, or a
// temporary file of the table or a recording.
bool isOurs(const std::string& name) {
    const std::size_t mark = name.rfind(".tmp-");
    const std::string base = isLeftoverTemporary(name) ? name.substr(0, mark) : name;
    return base == kTableName || (base.rfind("game-", 0) == 0 && isRecordingName(base));
}

}  // namespace

std::string bestsFolderFor(const char* xdgDataHome, const char* home) {
    // Only an absolute XDG_DATA_HOME names a data folder; a relative one is
    // ignored, as the desktop's conventions for it say.
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return std::string(xdgDataHome) + "/quorland";
    }
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.local/share/quorland";
    }
    return "";
}

std::string bestsFolder() {
    return bestsFolderFor(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

BestStore::BestStore(std::string folder) : folder_(std::move(folder)) {}

void BestStore::say(const std::string& line) {
    if (said_.insert(line).second) {
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    }
}

bool BestStore::cannotWrite(const std::string& what) {
    say("Bests are not kept: cannot write " + folder_ + " (" + what + ")");
    return false;
}

bool BestStore::weigh(BestEntry game, bool chosenCourse,
                      const std::optional<std::string>& recording) {
    if (folder_.empty()) {
        say("Bests are not kept: neither XDG_DATA_HOME nor HOME is set");
        return false;
    }
    const std::string made = makeFolders(folder_);
    if (!made.empty()) {
        return cannotWrite(made);
    }
    FolderLock lock;
    const std::string locked = lock.take(folder_ + "/" + kLockName);
    if (!locked.empty()) {
        return cannotWrite(locked);
    }
    ++gamesWeighed_;
    return weighLocked(game, chosenCourse, recording);
}

// Under the lock: the table as it is now, a damaged one set aside (an
// empty table then), or nothing when it must not be changed.
std::optional<BestTable> BestStore::readForChange() {
    bool failed = false;
    const std::optional<std::string> text = readFile(tablePath(), failed);
    if (failed) {
        say("Bests are not kept: cannot read " + tablePath());
        return std::nullopt;
    }
    const TableRead read = readBestTable(text.value_or(""));
    if (read.state == TableState::Good) {
        return read.table;
    }
    if (read.state == TableState::Newer) {
        say("Bests are not kept: " + tablePath() + " was written by a newer QUORLAND (" +
            read.problem + "); it is left as it is");
        return std::nullopt;
    }
    const std::string aside = std::string(kTableName) + kDamagedMark + compactDateTime(utcNow());
    const std::string renamed = renameDurably(folder_, kTableName, aside);
    if (!renamed.empty()) {
        cannotWrite(renamed);
        return std::nullopt;
    }
    say("The table of bests " + tablePath() + " was damaged (" + read.problem +
        "); it is set aside as " + folder_ + "/" + aside + " and a new one is started");
    return BestTable{};
}

bool BestStore::weighLocked(BestEntry& game, bool chosenCourse,
                            const std::optional<std::string>& recording) {
    std::optional<BestTable> table = readForChange();
    if (!table) {
        return false;
    }
    const std::string name = "game-" + compactDateTime(utcNow()) + "-" + std::to_string(getpid()) +
                             "-" + std::to_string(gamesWeighed_) + ".replay";
    game.recording = recording ? name : kNoRecording;
    const std::set<std::string> kept = recordingsOf(*table);
    Weighing weighing = weighGame(std::move(*table), game, chosenCourse);
    if (!weighing.changed) {
        return true;
    }
    std::string problem;
    if (weighing.placed && recording) {
        problem = writeDurably(folder_, name, *recording);
    }
    if (problem.empty()) {
        problem = writeDurably(folder_, kTableName, writeBestTable(weighing.table));
    }
    if (!problem.empty()) {
        removeUnreferenced(kept);
        return cannotWrite(problem);
    }
    removeUnreferenced(recordingsOf(weighing.table));
    return true;
}

void BestStore::removeUnreferenced(std::set<std::string> keep) const {
    std::vector<std::filesystem::path> candidates;
    std::error_code error;
    std::filesystem::directory_iterator entry(folder_, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.rfind(std::string(kTableName) + kDamagedMark, 0) == 0) {
            // A damaged table's games stay watchable: its recordings are kept.
            std::istringstream words(readWholeText(entry->path().string()));
            for (std::string word; words >> word;) {
                keep.insert(word);
            }
        } else if (isOurs(name) && name != kTableName) {
            candidates.push_back(entry->path());
        }
    }
    for (const std::filesystem::path& path : candidates) {
        if (keep.count(path.filename().string()) == 0) {
            std::filesystem::remove(path, error);
        }
    }
}

TableRead BestStore::read() const {
    bool failed = false;
    const std::optional<std::string> text = readFile(tablePath(), failed);
    if (failed) {
        return {TableState::Corrupt, {}, "it cannot be read"};
    }
    return readBestTable(text.value_or(""));
}
