// What the board keeps (see board_store.h).
#include "board_store.h"

#include <limits>

#include "rankings.h"

namespace {

// Upgrade N (1-based) of the schema; "{ID}" and "{BLOB}" take the
// database's spelling. Append new upgrades, never edit shipped ones.
const std::vector<std::vector<std::string>>& schemaUpgrades() {
    static const std::vector<std::vector<std::string>> upgrades = {
        {
            "CREATE TABLE starts (token TEXT PRIMARY KEY, seed BIGINT NOT NULL,"
            " issued_ms BIGINT NOT NULL)",
            "CREATE TABLE runs (id {ID}, name TEXT NOT NULL, seed BIGINT NOT NULL,"
            " score BIGINT NOT NULL, seconds DOUBLE PRECISION NOT NULL, live INTEGER NOT NULL,"
            " daily_day TEXT NOT NULL, token TEXT NOT NULL, frames BIGINT NOT NULL,"
            " frames_hash TEXT NOT NULL, submitted_ms BIGINT NOT NULL,"
            " hidden INTEGER NOT NULL DEFAULT 0, verify TEXT NOT NULL)",
            "CREATE TABLE recordings (run_id BIGINT PRIMARY KEY REFERENCES runs (id),"
            " bytes {BLOB} NOT NULL)",
            "CREATE TABLE bests (board TEXT NOT NULL, name TEXT NOT NULL, run_id BIGINT NOT NULL,"
            " score BIGINT NOT NULL, submitted_ms BIGINT NOT NULL, PRIMARY KEY (board, name))",
            "CREATE INDEX bests_ranked ON bests (board, score DESC, submitted_ms, run_id)",
            "CREATE INDEX bests_by_run ON bests (run_id)",
            "CREATE UNIQUE INDEX runs_same_frames ON runs (seed, frames, frames_hash)",
            "CREATE INDEX runs_by_seed ON runs (seed, name)",
            "CREATE INDEX runs_by_token ON runs (token)",
        },
        {
            "CREATE INDEX starts_by_age ON starts (issued_ms)",
        }};
    return upgrades;
}

std::string spelled(std::string sql, const std::string& placeholder, const std::string& text) {
    const std::size_t at = sql.find(placeholder);
    if (at != std::string::npos) {
        sql.replace(at, placeholder.size(), text);
    }
    return sql;
}

}  // namespace

BoardStore::BoardStore(std::unique_ptr<Database> database) : database_(std::move(database)) {}

void BoardStore::upgrade() {
    const auto& upgrades = schemaUpgrades();
    database_->write([&](SqlTransaction& sql) {
        if (!database_->schemaLock().empty()) {
            sql.exec(database_->schemaLock());
        }
        sql.exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
        SqlRows rows = sql.exec("SELECT version FROM schema_version");
        if (rows.empty()) {
            sql.exec("INSERT INTO schema_version (version) VALUES (0)");
        }
        const std::size_t version = rows.empty() ? 0 : std::stoul(rows[0][0]);
        if (version > upgrades.size()) {
            throw std::runtime_error("The database's schema version " + std::to_string(version) +
                                     " is newer than this board's (" +
                                     std::to_string(upgrades.size()) + ")");
        }
        for (std::size_t step = version; step < upgrades.size(); ++step) {
            for (const std::string& statement : upgrades[step]) {
                sql.exec(spelled(spelled(statement, "{ID}", database_->idColumn()), "{BLOB}",
                                 database_->blobType()));
            }
        }
        sql.exec("UPDATE schema_version SET version = $1",
                 {static_cast<std::int64_t>(upgrades.size())});
    });
}

void BoardStore::addStart(const StartRecord& start) {
    database_->write([&](SqlTransaction& sql) {
        sql.exec("DELETE FROM starts WHERE issued_ms <= $1", {start.issuedMs - kStartLifetimeMs});
        sql.exec("INSERT INTO starts (token, seed, issued_ms) VALUES ($1, $2, $3)",
                 {start.token, std::int64_t{start.seed}, start.issuedMs});
    });
}

std::optional<StartRecord> BoardStore::findStart(const std::string& token) {
    SqlRows rows =
        database_->read("SELECT token, seed, issued_ms FROM starts WHERE token = $1", {token});
    if (rows.empty()) {
        return std::nullopt;
    }
    return StartRecord{rows[0][0], static_cast<std::uint32_t>(sqlInteger(rows[0][1])),
                       sqlInteger(rows[0][2])};
}

std::vector<StoredRun> BoardStore::runsOfSeed(std::uint32_t seed) {
    SqlRows rows = database_->read(
        "SELECT id, name, frames, frames_hash, score, token FROM runs WHERE seed = $1",
        {std::int64_t{seed}});
    std::vector<StoredRun> runs;
    for (const SqlRow& row : rows) {
        runs.push_back(
            {sqlInteger(row[0]), row[1], sqlInteger(row[2]), row[3], sqlInteger(row[4]), row[5]});
    }
    return runs;
}

std::optional<std::string> BoardStore::replay(std::int64_t id, bool evenHidden) {
    SqlRows rows = database_->read(
        "SELECT recordings.bytes FROM recordings JOIN runs ON runs.id = recordings.run_id"
        " WHERE runs.id = $1 AND runs.hidden <= $2",
        {id, std::int64_t{evenHidden ? 1 : 0}});
    if (rows.empty()) {
        return std::nullopt;
    }
    return rows[0][0];
}

std::optional<std::int64_t> BoardStore::addRun(const NewRun& run) {
    std::int64_t id = 0;
    try {
        database_->write([&](SqlTransaction& sql) {
            SqlRows rows = sql.exec(
                "INSERT INTO runs (name, seed, score, seconds, live, daily_day, token, frames,"
                " frames_hash, submitted_ms, verify) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9,"
                " $10, $11) RETURNING id",
                {run.name, std::int64_t{run.seed}, run.score, run.seconds,
                 std::int64_t{run.live ? 1 : 0}, run.dailyDay, run.token, run.frames,
                 run.framesHash, run.submittedMs, run.verifyJson});
            id = sqlInteger(rows.at(0).at(0));
            std::vector<std::string> boards = {"all", "seed:" + std::to_string(run.seed)};
            if (!run.dailyDay.empty()) {
                boards.push_back("day:" + run.dailyDay);
            }
            enterBests(sql, boards, run.name, id, run.score, run.submittedMs);
            sql.exec("INSERT INTO recordings (run_id, bytes) VALUES ($1, $2)",
                     {id, SqlBlob{run.replay}});
        });
    } catch (const UniqueViolation&) {
        return std::nullopt;
    }
    return id;
}

std::vector<BoardEntry> BoardStore::board(const BoardQuery& query, std::size_t limit) {
    return readBoard(*database_, boardKey(query), 0, limit);
}

std::optional<std::vector<BoardEntry>> BoardStore::around(const BoardQuery& query, std::int64_t id,
                                                          std::size_t each) {
    return readAround(*database_, boardKey(query), id, each);
}

std::int64_t BoardStore::rankOf(const BoardQuery& query, const std::string& name,
                                std::int64_t score, std::int64_t submittedMs) {
    return 1 + countAhead(*database_, boardKey(query), name, score, submittedMs);
}

std::optional<RunDetails> BoardStore::run(std::int64_t id) {
    SqlRows rows = database_->read(
        "SELECT id, name, score, seconds, live, submitted_ms, seed, verify FROM runs"
        " WHERE id = $1 AND hidden = 0",
        {id});
    if (rows.empty()) {
        return std::nullopt;
    }
    return RunDetails{entryOf(rows[0]), static_cast<std::uint32_t>(sqlInteger(rows[0][6])),
                      rows[0][7]};
}

bool BoardStore::hide(std::int64_t id) {
    bool found = false;
    database_->write([&](SqlTransaction& sql) {
        found = !sql.exec("UPDATE runs SET hidden = 1 WHERE id = $1 RETURNING id", {id}).empty();
        replaceHiddenBest(sql, id);
    });
    return found;
}

bool BoardStore::healthy() {
    try {
        return database_->read("SELECT 1").size() == 1;
    } catch (const std::exception&) {
        return false;
    }
}
