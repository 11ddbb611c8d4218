// Test support for the score board: a real quorland-board process on
// 127.0.0.1 and a free port it picks itself (--listen 127.0.0.1:0, the port
// read back from its first line), requests to it, and the databases it runs
// on: a scratch SQLite folder, or a fresh database in the PostgreSQL that
// pg_virtualenv started (PGHOST and friends set).
//
// A server is stopped by its pid (SIGTERM, or SIGKILL for the crash cases)
// and every wait has a deadline.
#pragma once

#include <httplib.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/child_process.h"
#include "support/scratch_folder.h"

enum class Backend { Sqlite, Postgresql };

// Where a board keeps its data: the --data or --database arguments.
class BoardDatabase {
  public:
    // Nothing when `backend` is PostgreSQL and no server is reachable.
    static std::optional<BoardDatabase> make(Backend backend);
    const std::vector<std::string>& arguments() const { return arguments_; }

  private:
    std::shared_ptr<ScratchFolder> folder_;
    std::vector<std::string> arguments_;
};

struct HttpAnswer {
    int status = 0;  // 0: no answer (connection failed or closed early)
    std::string body;
    std::string retryAfter;
    std::string contentType;
    nlohmann::json json() const;
};

class BoardServer {
  public:
    // Starts quorland-board with the database's arguments and `extra`.
    BoardServer(const BoardDatabase& database, const std::vector<std::string>& extra = {});
    ~BoardServer();

    bool ok() const { return port_ != 0; }
    int port() const { return port_; }
    pid_t pid() const { return process_->pid(); }

    HttpAnswer get(const std::string& path) const;
    HttpAnswer post(const std::string& path, const std::string& body,
                    const httplib::Headers& headers = {}) const;
    // Sends `bytes` as they are on a new connection and reads until it closes.
    std::string raw(const std::string& bytes) const;

    // SIGTERM, then the exit code (nothing when it did not exit in time).
    std::optional<int> stop();
    // SIGKILL, then reaped.
    void kill9();

  private:
    std::unique_ptr<ChildProcess> process_;
    int port_ = 0;
    bool ended_ = false;  // stop() or kill9() was called
};

// The game's golden recording NAME (tests/replays/NAME.replay), whole.
std::string goldenReplay(const std::string& name);
// The score on the last "Score: N" line of the golden's transcript.
int goldenScore(const std::string& name);
// `recording` cut after its first `frames` frames (no closing line).
std::string firstFrames(const std::string& recording, int frames);
// `recording` with the line starting `prefix` replaced by `line`.
std::string withLine(const std::string& recording, const std::string& prefix,
                     const std::string& line);
