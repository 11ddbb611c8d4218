// The player's tables of bests on disk, with the recordings of the games
// they hold: `$XDG_DATA_HOME/quorland/` (`$HOME/.local/share/quorland/`
// when XDG_DATA_HOME is unset or empty), made on first need.
//
//   bests.txt                        the table (bests/best_table.h)
//   bests.lock                       taken (flock) for every change
//   game-20261209T130648Z-4711-2.replay   a kept game's run, up to its end
//   bests.txt.damaged-20261209T130648Z    a table that could not be read, set aside
//
// Every file is written to a temporary file in the folder, flushed to disk,
// renamed over the old one, and the folder flushed, so a crash or a power
// loss leaves the old file or the new one. A change happens under the lock
// and starts by reading the table again, so two games weighed at once both
// land in it. Temporary files left by a crash and recordings no entry refers
// to are removed under the lock too (those a set-aside table names stay).
//
// Nothing here may stop or change play: every problem is one line on
// standard error (each said once per run), the game goes on, and standard
// output is never written.
#pragma once

#include <optional>
#include <set>
#include <string>

#include "bests/best_table.h"

// The folder from the environment given (the values of XDG_DATA_HOME and
// HOME, null when unset); "" when there is neither.
std::string bestsFolderFor(const char* xdgDataHome, const char* home);
// The same from the process's own environment.
std::string bestsFolder();

class BestStore {
  public:
    // `folder` as bestsFolder gives it ("" when there is no home).
    explicit BestStore(std::string folder);

    // Weighs a game that ended. `game.recording` is filled in by the store;
    // `recording` is the run up to the game's end as a replay file, or none
    // when the run was too long to keep. False when nothing could be weighed
    // (the line saying why is printed).
    bool weigh(BestEntry game, bool chosenCourse, const std::optional<std::string>& recording);

    // The table as it is now, for showing it; never changes a file.
    TableRead read() const;

    const std::string& folder() const { return folder_; }
    std::string tablePath() const { return folder_ + "/bests.txt"; }

  private:
    bool weighLocked(BestEntry& game, bool chosenCourse,
                     const std::optional<std::string>& recording);
    std::optional<BestTable> readForChange();
    void removeUnreferenced(std::set<std::string> keep) const;
    void say(const std::string& line);
    bool cannotWrite(const std::string& what);

    std::string folder_;
    std::set<std::string> said_;  // the lines printed so far in this run
    int gamesWeighed_ = 0;        // numbers this run's recording files
};
