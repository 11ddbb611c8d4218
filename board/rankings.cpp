// The boards as the database keeps them (see rankings.h).
#include "rankings.h"

#include <algorithm>

namespace {

// The runs a board takes, as a condition on `runs` with its value as $3.
std::pair<std::string, SqlParams> runsOf(const std::string& board) {
    if (board.rfind("seed:", 0) == 0) {
        return {"seed = $3", {std::int64_t{std::stoll(board.substr(5))}}};
    }
    if (board.rfind("day:", 0) == 0) {
        return {"daily_day = $3", {board.substr(4)}};
    }
    return {"$3 = 0", {std::int64_t{0}}};
}

const char kEntryColumns[] =
    "SELECT runs.id, runs.name, runs.score, runs.seconds, runs.live, runs.submitted_ms"
    " FROM bests JOIN runs ON runs.id = bests.run_id WHERE bests.board = $1";
const char kBestOrder[] = " ORDER BY bests.score DESC, bests.submitted_ms, bests.run_id";

}  // namespace

std::string boardKey(const BoardQuery& query) {
    switch (query.kind) {
        case BoardKind::Seed:
            return "seed:" + std::to_string(query.seed);
        case BoardKind::Daily:
            return "day:" + query.day;
        case BoardKind::All:
            break;
    }
    return "all";
}

void enterBests(SqlTransaction& sql, const std::vector<std::string>& boards,
                const std::string& name, std::int64_t id, std::int64_t score,
                std::int64_t submittedMs) {
    for (const std::string& board : boards) {
        sql.exec(
            "INSERT INTO bests (board, name, run_id, score, submitted_ms) VALUES ($1, $2, $3, $4,"
            " $5) ON CONFLICT (board, name) DO UPDATE SET run_id = excluded.run_id,"
            " score = excluded.score, submitted_ms = excluded.submitted_ms"
            " WHERE excluded.score > bests.score",
            {board, name, id, score, submittedMs});
    }
}

void replaceHiddenBest(SqlTransaction& sql, std::int64_t id) {
    const SqlRows named = sql.exec("SELECT name FROM runs WHERE id = $1", {id});
    const SqlRows boards = sql.exec("DELETE FROM bests WHERE run_id = $1 RETURNING board", {id});
    for (const SqlRow& row : boards) {
        auto [condition, params] = runsOf(row.at(0));
        params.insert(params.begin(), {row.at(0), named.at(0).at(0)});
        sql.exec(
            "INSERT INTO bests (board, name, run_id, score, submitted_ms) SELECT CAST($1 AS TEXT),"
            " name, id,"
            " score, submitted_ms FROM runs WHERE hidden = 0 AND name = $2 AND " +
                condition + " ORDER BY score DESC, submitted_ms, id LIMIT 1",
            params);
    }
}

BoardEntry entryOf(const SqlRow& row) {
    BoardEntry entry;
    entry.id = sqlInteger(row.at(0));
    entry.name = row.at(1);
    entry.score = sqlInteger(row.at(2));
    entry.seconds = std::stod(row.at(3));
    entry.live = sqlInteger(row.at(4)) != 0;
    entry.submittedMs = sqlInteger(row.at(5));
    return entry;
}

std::vector<BoardEntry> readBoard(Database& database, const std::string& board, std::size_t offset,
                                  std::size_t limit) {
    const SqlRows rows =
        database.read(std::string(kEntryColumns) + kBestOrder + " LIMIT $2 OFFSET $3",
                      {board, static_cast<std::int64_t>(limit), static_cast<std::int64_t>(offset)});
    std::vector<BoardEntry> entries;
    for (const SqlRow& row : rows) {
        entries.push_back(entryOf(row));
        entries.back().rank = static_cast<std::int64_t>(offset + entries.size());
    }
    return entries;
}

std::int64_t countAhead(Database& database, const std::string& board, const std::string& name,
                        std::int64_t score, std::int64_t submittedMs) {
    const SqlRows rows = database.read(
        "SELECT COUNT(*) FROM bests WHERE board = $1 AND name <> $2 AND (score > $3 OR"
        " (score = $3 AND submitted_ms < $4))",
        {board, name, score, submittedMs});
    return sqlInteger(rows.at(0).at(0));
}

std::optional<std::vector<BoardEntry>> readAround(Database& database, const std::string& board,
                                                  std::int64_t id, std::size_t each) {
    const SqlRows found = database.read(
        "SELECT score, submitted_ms FROM bests WHERE board = $1 AND run_id = $2", {board, id});
    if (found.empty()) {
        return std::nullopt;
    }
    const std::int64_t score = sqlInteger(found[0][0]), submitted = sqlInteger(found[0][1]);
    const SqlRows ahead = database.read(
        "SELECT COUNT(*) FROM bests WHERE board = $1 AND (score > $2 OR (score = $2 AND"
        " (submitted_ms < $3 OR (submitted_ms = $3 AND run_id < $4))))",
        {board, score, submitted, id});
    const auto place = static_cast<std::size_t>(sqlInteger(ahead.at(0).at(0)));
    const std::size_t offset = place - std::min(place, each);
    return readBoard(database, board, offset, place - offset + 1 + each);
}
