// What the board keeps, and the one set of SQL statements that keeps it on
// either database.
//
// Tables: `starts` (the tokens handed out, with their seed and the server
// time they were issued), `runs` (every accepted run with the verifier's
// report and what the boards and the duplicate checks need) and
// `recordings` (each run's bytes, apart, so that reading a board never
// touches them).
// `schema_version` holds the number of the last upgrade applied; upgrade()
// applies the missing ones at start-up. Ranking ("each name's best run,
// highest first, earlier first on a tie") is kept in the database as it
// changes (rankings.h), so every instance on one database agrees.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "database.h"

// How long a token can still be submitted with: a run played for longer
// would not fit its clock anyway, and the starts table stays bounded.
constexpr std::int64_t kStartLifetimeMs = 7 * 24 * 3600 * 1000LL;

struct StartRecord {
    std::string token;
    std::uint32_t seed = 0;
    std::int64_t issuedMs = 0;  // server time, milliseconds since the epoch
};

// A stored run as the duplicate and token checks see it.
struct StoredRun {
    std::int64_t id = 0;
    std::string name;
    std::int64_t frames = 0;  // frames the verifier played
    std::string framesHash;   // of those frames (replay_frames.h)
    std::int64_t score = 0;
    std::string token;  // "" for a file
};

struct NewRun {
    std::string name;
    std::uint32_t seed = 0;
    std::int64_t score = 0;
    double seconds = 0;
    bool live = false;
    std::string dailyDay;  // "YYYY-MM-DD" of the day board it is on, or ""
    std::string token;
    std::int64_t frames = 0;
    std::string framesHash;
    std::int64_t submittedMs = 0;
    std::string verifyJson;
    std::string replay;
};

struct BoardEntry {
    std::int64_t rank = 0;
    std::int64_t id = 0;
    std::string name;
    std::int64_t score = 0;
    double seconds = 0;
    bool live = false;
    std::int64_t submittedMs = 0;
};

struct RunDetails {
    BoardEntry entry;  // rank 0: a run is not ranked on its own
    std::uint32_t seed = 0;
    std::string verifyJson;
};

enum class BoardKind { Seed, Daily, All };
struct BoardQuery {
    BoardKind kind = BoardKind::All;
    std::uint32_t seed = 0;  // for Seed
    std::string day;         // for Daily
};

class BoardStore {
  public:
    explicit BoardStore(std::unique_ptr<Database> database);

    // Creates or upgrades the schema; throws on a schema newer than this build.
    void upgrade();

    // Adds a start and forgets those issued kStartLifetimeMs or more before it.
    void addStart(const StartRecord& start);
    std::optional<StartRecord> findStart(const std::string& token);
    // Every run on `seed`, hidden ones included.
    std::vector<StoredRun> runsOfSeed(std::uint32_t seed);
    // The recording of run `id`; hidden runs only when `evenHidden`.
    std::optional<std::string> replay(std::int64_t id, bool evenHidden = false);
    // Commits the run and returns its id; nothing when a run with the same
    // seed, frame count and frame hash is already stored.
    std::optional<std::int64_t> addRun(const NewRun& run);
    // The board, best first: at most `limit` entries.
    std::vector<BoardEntry> board(const BoardQuery& query, std::size_t limit);
    // Entry `id` and up to `each` entries either side, ranked; nothing when
    // it is not on the board.
    std::optional<std::vector<BoardEntry>> around(const BoardQuery& query, std::int64_t id,
                                                  std::size_t each);
    // The rank a run of `score` submitted at `submittedMs` by `name` takes.
    std::int64_t rankOf(const BoardQuery& query, const std::string& name, std::int64_t score,
                        std::int64_t submittedMs);
    std::optional<RunDetails> run(std::int64_t id);
    // Hides run `id` from every board and answer; false when there is none.
    bool hide(std::int64_t id);
    // A trivial statement succeeds.
    bool healthy();

    std::string kind() const { return database_->kind(); }

  private:
    std::unique_ptr<Database> database_;
};
