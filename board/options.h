// The command line of quorland-board.
//
//   quorland-board [options]            serve the page and the API
//   quorland-board hide ID [options]    hide entry ID from every board
//
// Options: --listen ADDR:PORT (127.0.0.1:8000; port 0 picks a free one),
// --site DIR (the page; default ../build-web/site from the binary's folder),
// --data DIR (SQLite; default ./board-data), --database postgresql://...
// (PostgreSQL instead of SQLite), --game PATH (the verifier; default the
// quorland binary beside this one), --rate N (submissions a minute from one
// address, 60), --trust-proxy (take the address from X-Forwarded-For),
// --verifiers N (at once; default one per core), --queue N (submissions that
// may wait for a verifier; default two per verifier), --threads N (HTTP
// threads).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct BoardOptions {
    std::string command;  // "" to serve, "hide"
    std::int64_t hideId = 0;
    std::string host = "127.0.0.1";
    int port = 8000;
    std::string site;
    std::string data = "board-data";
    std::string database;  // a postgresql:// URL, or "" for SQLite
    std::string game;
    std::size_t rate = 60;
    bool trustProxy = false;
    std::size_t verifiers = 0;         // 0: one per core
    std::optional<std::size_t> queue;  // default: two per verifier
    std::size_t threads = 0;           // 0: enough for the verifiers and readers
};

struct ParsedOptions {
    BoardOptions options;
    std::optional<std::string> error;  // a one-line reason, when malformed
};

// `executableFolder` gives the defaults of --site and --game.
ParsedOptions parseOptions(const std::vector<std::string>& arguments,
                           const std::string& executableFolder);

extern const char kBoardUsage[];
