// Test support for the score board (see board_server.h).
#include "board_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <pqxx/pqxx>
#include <sstream>

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string postgresUrl(const std::string& database) {
    return "postgresql://" + environment("PGUSER") + ":" + environment("PGPASSWORD") + "@" +
           environment("PGHOST") + ":" + environment("PGPORT") + "/" + database;
}

// A new, empty database in the cluster of the environment.
std::string freshPostgresDatabase() {
    static std::atomic<int> made{0};
    const std::string name =
        "board_" + std::to_string(getpid()) + "_" + std::to_string(made.fetch_add(1));
    pqxx::connection admin(postgresUrl(environment("PGDATABASE")));
    pqxx::nontransaction work(admin);
    work.exec("CREATE DATABASE " + name);
    return postgresUrl(name);
}

}  // namespace

std::optional<BoardDatabase> BoardDatabase::make(Backend backend) {
    BoardDatabase database;
    if (backend == Backend::Sqlite) {
        database.folder_ = std::make_shared<ScratchFolder>(ScratchFolder::inTemp());
        database.arguments_ = {"--data", database.folder_->file("data")};
        return database;
    }
    if (environment("PGHOST").empty()) {
        return std::nullopt;
    }
    database.arguments_ = {"--database", freshPostgresDatabase()};
    return database;
}

nlohmann::json HttpAnswer::json() const {
    return nlohmann::json::parse(body, nullptr, false);
}

BoardServer::BoardServer(const BoardDatabase& database, const std::vector<std::string>& extra) {
    std::vector<std::string> argv = {QUORLAND_BOARD_BINARY, "--listen", "127.0.0.1:0", "--game",
                                     BOARD_TEST_GAME};
    argv.insert(argv.end(), database.arguments().begin(), database.arguments().end());
    argv.insert(argv.end(), extra.begin(), extra.end());
    process_ = std::make_unique<ChildProcess>(argv, "", "");
    const std::string prefix = "quorland-board: listening on http://127.0.0.1:";
    if (std::optional<std::string> line = process_->waitForLineStartingWith(prefix, 30s)) {
        port_ = std::atoi(line->c_str() + prefix.size());
    }
}

// A server still running is stopped as a user would (SIGTERM), so that it
// removes its scratch folder.
BoardServer::~BoardServer() {
    if (!ended_) {
        stop();
    }
}

HttpAnswer BoardServer::get(const std::string& path) const {
    httplib::Client client("127.0.0.1", port_);
    client.set_read_timeout(30, 0);
    httplib::Result result = client.Get(path.c_str());
    if (!result) {
        return {};
    }
    return {result->status, result->body, result->get_header_value("Retry-After"),
            result->get_header_value("Content-Type")};
}

HttpAnswer BoardServer::post(const std::string& path, const std::string& body,
                             const httplib::Headers& headers) const {
    httplib::Client client("127.0.0.1", port_);
    client.set_read_timeout(30, 0);
    client.set_compress(false);
    httplib::Result result = client.Post(path.c_str(), headers, body, "application/octet-stream");
    if (!result) {
        return {};
    }
    return {result->status, result->body, result->get_header_value("Retry-After"),
            result->get_header_value("Content-Type")};
}

std::string BoardServer::raw(const std::string& bytes) const {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port_));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const timeval timeout{20, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    std::string answer;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) >= 0) {
        char buffer[4096];
        ssize_t got;
        while ((got = recv(fd, buffer, sizeof buffer, 0)) > 0) {
            answer.append(buffer, static_cast<std::size_t>(got));
        }
    }
    close(fd);
    return answer;
}

std::optional<int> BoardServer::stop() {
    ended_ = true;
    kill(process_->pid(), SIGTERM);
    return process_->waitForExit(30s);
}

void BoardServer::kill9() {
    ended_ = true;
    kill(process_->pid(), SIGKILL);
    process_->waitForExit(30s);
}

std::string goldenReplay(const std::string& name) {
    return readWholeFile(std::string(QUORLAND_SOURCE_DIR) + "/tests/replays/" + name + ".replay");
}

int goldenScore(const std::string& name) {
    std::istringstream transcript(
        readWholeFile(std::string(QUORLAND_SOURCE_DIR) + "/tests/replays/" + name + ".transcript"));
    int score = -1;
    for (std::string line; std::getline(transcript, line);) {
        if (line.rfind("Score: ", 0) == 0) {
            score = std::atoi(line.c_str() + 7);
        }
    }
    return score;
}

std::string firstFrames(const std::string& recording, int frames) {
    std::istringstream lines(recording);
    std::string cut;
    for (std::string line; frames > 0 && std::getline(lines, line);) {
        cut += line + "\n";
        frames -= (line == "m" || line.rfind("g ", 0) == 0) ? 1 : 0;
    }
    return cut;
}

std::string withLine(const std::string& recording, const std::string& prefix,
                     const std::string& line) {
    const std::size_t at = recording.find("\n" + prefix) + 1;
    const std::size_t end = recording.find('\n', at);
    return recording.substr(0, at) + line + recording.substr(end);
}
