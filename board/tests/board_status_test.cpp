// Every row of the board's status table, against a real board with the
// real game as verifier: each request gets its exact status and error, and
// the boards read the same after it as before.
//
// A second board on the same database runs a verifier that waits at a gate
// the test opens (then crashes), with one verifier and no queue: with the
// gate shut the pool is full, so the next submission must get 503.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>

#include "board_server.h"

namespace {

using nlohmann::json;

struct Row {
    std::string what;
    std::function<HttpAnswer()> send;
    int status;
    std::string error;
};

// Status and body of a raw answer; status 0 unless it is exactly one answer
// (a request's unread body never became a second request).
HttpAnswer parseRaw(const std::string& answer) {
    const std::size_t bodyAt = answer.find("\r\n\r\n");
    if (answer.rfind("HTTP/1.1 ", 0) != 0 || bodyAt == std::string::npos ||
        answer.find("HTTP/1.1 ", 1) != std::string::npos) {
        return {0, answer, "", ""};
    }
    return {std::stoi(answer.substr(9, 3)), answer.substr(bodyAt + 4), "", ""};
}

const std::string kPipelined = "GET /api/health HTTP/1.1\r\nHost: board\r\n\r\n";

std::string rawPost(const std::string& headers, const std::string& body) {
    return "POST /api/runs?name=eve HTTP/1.1\r\nHost: board\r\n" + headers + "\r\n" + body +
           kPipelined;
}

bool waitForFile(const std::string& path) {
    for (int i = 0; i < 2000 && !std::filesystem::exists(path); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::filesystem::exists(path);
}

class BoardStatusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        database_ = BoardDatabase::make(Backend::Sqlite);
        board_ = std::make_unique<BoardServer>(
            *database_, std::vector<std::string>{"--trust-proxy", "--rate", "3"});
        const std::string gate =
            scratch_.write("gated-game", "#!/bin/sh\n: > " + scratch_.file("started") +
                                             "\nwhile [ ! -e " + scratch_.file("release") +
                                             " ]; do sleep 0.05; done\nkill -SEGV $$\n");
        std::filesystem::permissions(gate, std::filesystem::perms::owner_all);
        gated_ = std::make_unique<BoardServer>(
            *database_,
            std::vector<std::string>{"--game", gate, "--verifiers", "1", "--queue", "0"});
        ASSERT_TRUE(board_->ok() && gated_->ok());
    }

    HttpAnswer submitFrom(const std::string& address, const std::string& query,
                          const std::string& body) {
        return board_->post("/api/runs?" + query, body,
                            {{"X-Forwarded-For", "192.0.2.1, " + address}});
    }
    // A token, asked for from an address of its own (the rate is per address).
    std::string token(const std::string& seed) {
        const std::string address = "10.1.0." + std::to_string(++tokens_);
        return board_->post("/api/starts?seed=" + seed, "", {{"X-Forwarded-For", address}})
            .json()
            .value("token", "");
    }
    std::string boards() {
        return board_->get("/api/board?all").body + board_->get("/api/board?seed=7").body +
               board_->get("/api/board?daily=").body;
    }
    // Fills the gated pool, sends one more, then opens the gate.
    std::pair<HttpAnswer, HttpAnswer> overfill() {
        auto first = std::async(std::launch::async, [this] {
            return gated_->post("/api/runs?name=gus", goldenReplay("fall"));
        });
        EXPECT_TRUE(waitForFile(scratch_.file("started")));
        HttpAnswer refused = gated_->post("/api/runs?name=hal", goldenReplay("fall"));
        scratch_.write("release");
        return {refused, first.get()};
    }

    int tokens_ = 0;
    ScratchFolder scratch_ = ScratchFolder::inTemp();
    std::optional<BoardDatabase> database_;
    std::unique_ptr<BoardServer> board_;
    std::unique_ptr<BoardServer> gated_;
};

TEST_F(BoardStatusTest, EveryRefusalHasItsStatusAndLeavesTheBoardsAlone) {
    const std::string ride = goldenReplay("log_ride");
    const std::string fall = goldenReplay("fall");
    const std::string fallCut = fall.substr(0, fall.rfind("end "));
    ASSERT_EQ(submitFrom("10.0.1.1", "name=alice", fall).status, 201);
    ASSERT_EQ(submitFrom("10.0.1.2", "name=dave", firstFrames(ride, 50)).status, 201);
    const std::string carolsToken = token("7");
    ASSERT_EQ(
        submitFrom("10.0.1.3", "name=carol&token=" + carolsToken, firstFrames(ride, 20)).status,
        201);
    std::string crlf;
    for (char c : fallCut) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    // A game frame where the game shows its start screen.
    const std::string outOfStep =
        withLine(ride.substr(0, ride.rfind("end ")), "renderer ", "renderer 0 0 0 0 1\ng 3dcccccd");
    std::pair<HttpAnswer, HttpAnswer> overfilled;
    const std::vector<Row> rows = {
        {"reader refuses", [&] { return submitFrom("10.0.0.1", "name=eve", "hello\n"); }, 400,
         "Replay file 'submitted.replay' line 1: not a replay file (the first line must be "
         "'QUORLAND-REPLAY 1 VERSION')"},
        {"empty name", [&] { return submitFrom("10.0.0.2", "name=%20", ride); }, 400,
         "a name must have 1 to 16 characters"},
        {"direction override in name",
         [&] { return submitFrom("10.0.0.3", "name=a%E2%80%AEb", ride); }, 400,
         "a name must not contain control, invisible or direction characters"},
        {"Transfer-Encoding",
         [&] {
             return parseRaw(
                 board_->raw(rawPost("Transfer-Encoding: chunked\r\n", "5\r\nhello\r\n0\r\n\r\n")));
         },
         400, "Transfer-Encoding is not accepted; send Content-Length"},
        {"Content-Encoding",
         [&] {
             return parseRaw(
                 board_->raw(rawPost("Content-Length: 5\r\nContent-Encoding: gzip\r\n", "hello")));
         },
         400, "Content-Encoding is not accepted"},
        {"no Content-Length", [&] { return parseRaw(board_->raw(rawPost("", ""))); }, 411,
         "a Content-Length is required"},
        {"over 8 MB",
         [&] { return parseRaw(board_->raw(rawPost("Content-Length: 8388609\r\n", "QUORLAND"))); },
         413, "a recording may have at most 8 MB"},
        {"same run, other name", [&] { return submitFrom("10.0.0.8", "name=bob", fall); }, 409,
         "this run is already on the board"},
        {"same run, CRLF and no closing line",
         [&] { return submitFrom("10.0.0.9", "name=bob", crlf); }, 409,
         "this run is already on the board"},
        {"same run, trailing frames",
         [&] { return submitFrom("10.0.0.10", "name=bob", fallCut + "g 3dcccccd\ng 3dcccccd\n"); },
         409, "this run is already on the board"},
        {"unknown token", [&] { return submitFrom("10.0.0.11", "name=eve&token=00ff", ride); }, 422,
         "the token is unknown"},
        {"token of another course",
         [&] { return submitFrom("10.0.0.12", "name=eve&token=" + token("8"), ride); }, 422,
         "the token is for another course"},
        {"token of another run",
         [&] {
             return submitFrom("10.0.0.13", "name=carol&token=" + carolsToken,
                               firstFrames(fall, 25));
         },
         422, "the token belongs to another run"},
        {"clock", [&] { return submitFrom("10.0.0.14", "name=eve&token=" + token("7"), ride); },
         422, "the run's game time is ahead of the time since its token"},
        {"other rules",
         [&] {
             return submitFrom("10.0.0.15", "name=eve",
                               withLine(ride, "QUORLAND-REPLAY", "QUORLAND-REPLAY 1 9.9"));
         },
         422, "the run was recorded by a game with other rules"},
        {"debug mode",
         [&] { return submitFrom("10.0.0.16", "name=eve", goldenReplay("pause_orbit")); }, 422,
         "the run used debug mode"},
        {"not the shipped settings",
         [&] {
             return submitFrom("10.0.0.17", "name=eve",
                               withLine(ride, "renderer ", "renderer 1 0 0 0 1"));
         },
         422, "the run was not played with the shipped settings"},
        {"out of step", [&] { return submitFrom("10.0.0.18", "name=eve", outOfStep); }, 422,
         "the run's replay went out of step"},
        {"begins with another name's run",
         [&] { return submitFrom("10.0.0.19", "name=erin", ride); }, 422,
         "the run begins with another player's stored run"},
        {"rate",
         [&] {
             for (int i = 0; i < 3; ++i) {
                 EXPECT_EQ(submitFrom("10.9.9.9", "name=eve", "x\n").status, 400);
             }
             return submitFrom("10.9.9.9", "name=eve", ride);
         },
         429, "too many submissions from this address; wait a minute"},
        {"pool full",
         [&] {
             overfilled = overfill();
             return overfilled.first;
         },
         503, "the verifiers are busy; try again in a moment"},
        {"verifier crashed", [&] { return overfilled.second; }, 422,
         "the verifier stopped on this recording (signal 11)"},
    };
    const std::string before = boards();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const HttpAnswer answer = row.send();
        EXPECT_EQ(answer.status, row.status) << answer.body;
        const json body = answer.json();
        EXPECT_EQ(body.is_object() ? body.value("error", "") : "", row.error);
        EXPECT_EQ(boards(), before);
    }
    EXPECT_EQ(overfilled.first.retryAfter, "2");
}

TEST_F(BoardStatusTest, SigtermLetsTheRequestInFlightFinish) {
    auto inFlight = std::async(std::launch::async, [this] {
        return gated_->post("/api/runs?name=gus", goldenReplay("fall"));
    });
    ASSERT_TRUE(waitForFile(scratch_.file("started")));
    kill(gated_->pid(), SIGTERM);
    bool listening = true;
    for (int i = 0; i < 1000 && listening; ++i) {
        listening = !gated_->raw("GET /api/health HTTP/1.1\r\nConnection: close\r\n\r\n").empty();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(listening);
    scratch_.write("release");
    const HttpAnswer answer = inFlight.get();
    EXPECT_EQ(answer.status, 422) << answer.body;
    EXPECT_EQ(gated_->stop(), std::optional<int>(0));
}

}  // namespace
