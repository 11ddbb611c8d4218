// The boards as the database keeps them: one `bests` row per board and name
// (that name's best run there), kept up to date as runs are stored and
// hidden, so that reading a board is an index range of at most 100 rows and
// a rank is a count, however many runs there are.
//
// A board's key is "all", "seed:N" or "day:YYYY-MM-DD". "Best" is the
// highest score, the earlier submission on a tie (then the lower id).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "board_store.h"
#include "database.h"

std::string boardKey(const BoardQuery& query);

// Makes run `id` its name's best on each of `boards` where it beats the one
// there (inside the transaction that stores the run).
void enterBests(SqlTransaction& sql, const std::vector<std::string>& boards,
                const std::string& name, std::int64_t id, std::int64_t score,
                std::int64_t submittedMs);

// After run `id` was hidden: each board it was best on gets its name's next
// best run that is not hidden, if any.
void replaceHiddenBest(SqlTransaction& sql, std::int64_t id);

// An unranked entry from a row whose first columns are a run's id, name,
// score, seconds, live and submitted_ms.
BoardEntry entryOf(const SqlRow& row);

// Entries `offset`.. of a board (ranked from offset + 1), at most `limit`.
std::vector<BoardEntry> readBoard(Database& database, const std::string& board, std::size_t offset,
                                  std::size_t limit);

// Entries ranked ahead of a run of `score` submitted at `submittedMs` by
// another name than `name`.
std::int64_t countAhead(Database& database, const std::string& board, const std::string& name,
                        std::int64_t score, std::int64_t submittedMs);

// Run `id` with up to `each` entries either side; nothing when it is not on
// the board.
std::optional<std::vector<BoardEntry>> readAround(Database& database, const std::string& board,
                                                  std::int64_t id, std::size_t each);
