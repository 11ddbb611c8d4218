// The board over HTTP, on SQLite and on a real PostgreSQL, with the real
// game as its verifier: golden runs get the scores their transcripts show,
// live runs enter the day's board, data survive restarts and kills, two
// instances share one PostgreSQL, tokens expire after a week, and every
// refusal of the status table leaves the boards as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "board_server.h"
#include "board_store.h"
#include "postgres_database.h"
#include "sqlite_database.h"

namespace {

using nlohmann::json;

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return text;
}

std::string todaySeed() {
    std::string day = today();
    day.erase(std::remove(day.begin(), day.end(), '-'), day.end());
    return day;
}

class BoardTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override {
        database_ = BoardDatabase::make(GetParam());
        if (!database_) {
            GTEST_SKIP() << "No PostgreSQL here: run these cases under pg_virtualenv";
        }
    }
    std::unique_ptr<BoardServer> start(const std::vector<std::string>& extra = {}) {
        auto server = std::make_unique<BoardServer>(*database_, extra);
        EXPECT_TRUE(server->ok()) << "the board did not start";
        return server;
    }
    std::optional<BoardDatabase> database_;
};

HttpAnswer submit(const BoardServer& server, const std::string& name, const std::string& body,
                  const std::string& token = "") {
    return server.post("/api/runs?name=" + name + (token.empty() ? "" : "&token=" + token), body);
}

std::string tokenFor(const BoardServer& server, const std::string& seed) {
    return server.post("/api/starts?seed=" + seed, "").json().value("token", "");
}

std::vector<std::string> namesOn(const BoardServer& server, const std::string& board) {
    std::vector<std::string> names;
    const json answer = server.get("/api/board?" + board).json();
    for (const json& entry : answer.at("entries")) {
        names.push_back(entry.at("name"));
    }
    return names;
}

TEST_P(BoardTest, GoldenRunsGetTheirTranscriptsScoresAndRanks) {
    auto server = start();
    const HttpAnswer ride = submit(*server, "alice", goldenReplay("log_ride"));
    ASSERT_EQ(ride.status, 201) << ride.body;
    EXPECT_EQ(ride.json(), (json{{"id", ride.json().at("id")},
                                 {"name", "alice"},
                                 {"seed", 7},
                                 {"score", goldenScore("log_ride")},
                                 {"rank", 1},
                                 {"live", false}}));
    const HttpAnswer fall = submit(*server, "%20bob%20", goldenReplay("fall"));
    ASSERT_EQ(fall.status, 201) << fall.body;
    EXPECT_EQ(fall.json().at("score"), goldenScore("fall"));
    EXPECT_EQ(fall.json().at("rank"), 2);
    EXPECT_EQ(namesOn(*server, "seed=7"), (std::vector<std::string>{"alice", "bob"}));
    EXPECT_EQ(namesOn(*server, "all"), (std::vector<std::string>{"alice", "bob"}));
    EXPECT_EQ(namesOn(*server, "daily="), std::vector<std::string>{});
    const json entry = server->get("/api/board?seed=7").json().at("entries").at(0);
    EXPECT_EQ(entry.at("rank"), 1);
    EXPECT_EQ(entry.at("score"), goldenScore("log_ride"));
    EXPECT_EQ(entry.at("live"), false);
    const std::string id = std::to_string(ride.json().at("id").get<long>());
    const json run = server->get("/api/runs/" + id).json();
    EXPECT_EQ(run.at("entry").at("name"), "alice");
    EXPECT_EQ(run.at("verify").at("best"), goldenScore("log_ride"));
    EXPECT_EQ(server->get("/api/runs/" + id + "/replay").body, goldenReplay("log_ride"));
    const json around = server->get("/api/board?all&around=" + id).json().at("entries");
    EXPECT_EQ(around.size(), 2u);
    EXPECT_EQ(around.at(1).at("rank"), 2);
    EXPECT_EQ(server->get("/api/board?seed=8&around=" + id).status, 404);
    EXPECT_EQ(server->get("/api/board?all&around=x").json(),
              (json{{"error", "around takes the ID of an entry"}}));
    EXPECT_EQ(server->get("/api/board?seed=-1").json(),
              (json{{"error", "seed must be a number from 0 to 4294967295"}}));
    EXPECT_EQ(server->get("/api/board").json(),
              (json{{"error", "name a board: seed=N, daily=YYYY-MM-DD or all"}}));
    EXPECT_EQ(server->get("/api/health").status, 200);
}

TEST_P(BoardTest, LiveRunsOnTheDaysCourseEnterTheDayBoard) {
    auto server = start();
    const std::string day = "seed " + todaySeed();
    const std::string token = tokenFor(*server, todaySeed());
    const HttpAnswer live = submit(
        *server, "carol", withLine(firstFrames(goldenReplay("log_ride"), 30), "seed ", day), token);
    ASSERT_EQ(live.status, 201) << live.body;
    EXPECT_EQ(live.json().at("live"), true);
    EXPECT_EQ(live.json().at("rank"), 1);
    const std::string courseToken = tokenFor(*server, "7");
    const HttpAnswer course =
        submit(*server, "dave", firstFrames(goldenReplay("log_ride"), 30), courseToken);
    ASSERT_EQ(course.status, 201) << course.body;
    EXPECT_EQ(namesOn(*server, "daily=" + today()), std::vector<std::string>{"carol"});
    EXPECT_EQ(namesOn(*server, "daily="), std::vector<std::string>{"carol"});
    EXPECT_EQ(namesOn(*server, "seed=7"), std::vector<std::string>{"dave"});
    EXPECT_EQ(server->get("/api/board?seed=7").json().at("entries").at(0).at("live"), true);
}

TEST_P(BoardTest, RunsSurviveAKillRightAfterTheirAnswerAndARestart) {
    auto server = start();
    ASSERT_EQ(submit(*server, "alice", goldenReplay("log_ride")).status, 201);
    server->kill9();
    server = start();
    const HttpAnswer fall = submit(*server, "bob", goldenReplay("fall"));
    ASSERT_EQ(fall.status, 201);
    EXPECT_EQ(server->stop(), std::optional<int>(0));
    server = start();
    EXPECT_EQ(namesOn(*server, "seed=7"), (std::vector<std::string>{"alice", "bob"}));
    const HttpAnswer start = submit(*server, "bob", firstFrames(goldenReplay("log_ride"), 40));
    ASSERT_EQ(start.status, 201) << start.body;
    const std::string id = std::to_string(fall.json().at("id").get<long>());
    std::vector<std::string> hide = {QUORLAND_BOARD_BINARY, "hide", id};
    hide.insert(hide.end(), database_->arguments().begin(), database_->arguments().end());
    ChildProcess hider(hide, "", "");
    EXPECT_EQ(hider.waitForExit(30s), std::optional<int>(0));
    EXPECT_EQ(hider.lines(), std::vector<std::string>{"Entry " + id + " is hidden"});
    EXPECT_EQ(namesOn(*server, "seed=7"), (std::vector<std::string>{"alice", "bob"}));
    EXPECT_EQ(server->get("/api/board?all").json().at("entries").at(1).at("id"),
              start.json().at("id"));
    EXPECT_EQ(server->get("/api/runs/" + id).status, 404);
    EXPECT_EQ(server->get("/api/runs/" + id + "/replay").status, 404);
}

TEST_P(BoardTest, TwoInstancesOnOneDatabaseSeeEachOthersRuns) {
    auto first = start();
    auto second = start();
    ASSERT_EQ(submit(*first, "alice", goldenReplay("log_ride")).status, 201);
    ASSERT_EQ(submit(*second, "bob", goldenReplay("fall")).status, 201);
    EXPECT_EQ(submit(*second, "carl", goldenReplay("log_ride")).status, 409);
    for (const BoardServer* server : {first.get(), second.get()}) {
        EXPECT_EQ(namesOn(*server, "seed=7"), (std::vector<std::string>{"alice", "bob"}));
    }
}

TEST_P(BoardTest, ServesThePageBesideTheApi) {
    const ScratchFolder site = ScratchFolder::inTemp();
    site.write("index.html", "<p>QUORLAND</p>");
    site.write("assets.data", "bytes");
    auto server = start({"--site", site.path().string()});
    const struct {
        std::string path, body, type;
        int status;
    } cases[] = {
        {"/", "<p>QUORLAND</p>", "text/html", 200},
        {"/assets.data", "bytes", "application/octet-stream", 200},
        {"/missing.js", R"({"error":"not found"})", "application/json", 404},
        {"/../secret", R"({"error":"not found"})", "application/json", 404},
        {"/api/nothing", R"({"error":"not found"})", "application/json", 404},
    };
    for (const auto& c : cases) {
        const HttpAnswer answer = server->get(c.path);
        EXPECT_EQ(answer.status, c.status) << c.path;
        EXPECT_EQ(answer.body, c.body) << c.path;
        EXPECT_EQ(answer.contentType, c.type) << c.path;
    }
}

// The test's database opened as the server opens it, without a server.
std::unique_ptr<Database> openDirectly(const BoardDatabase& database) {
    const std::vector<std::string>& arguments = database.arguments();
    if (arguments.at(0) == "--data") {
        std::filesystem::create_directories(arguments.at(1));
        return openSqliteDatabase(arguments.at(1));
    }
    return openPostgresDatabase(arguments.at(1), 1);
}

TEST_P(BoardTest, ATokenLastsAWeekAndTheNextOneIssuedForgetsItThen) {
    BoardStore store(openDirectly(*database_));
    store.upgrade();
    const std::int64_t now = 1796774400000;  // 2026-12-09T00:00:00Z
    store.addStart({"week", 7, now - kStartLifetimeMs});
    store.addStart({"almost", 7, now - kStartLifetimeMs + 1});
    EXPECT_TRUE(store.findStart("week")) << "nothing was issued a week after it yet";
    store.addStart({"now", 20261209, now});
    EXPECT_FALSE(store.findStart("week"));
    ASSERT_TRUE(store.findStart("almost"));
    EXPECT_EQ(store.findStart("almost")->issuedMs, now - kStartLifetimeMs + 1);
    ASSERT_TRUE(store.findStart("now"));
    EXPECT_EQ(store.findStart("now")->seed, 20261209u);
}

INSTANTIATE_TEST_SUITE_P(Sqlite, BoardTest, ::testing::Values(Backend::Sqlite));
INSTANTIATE_TEST_SUITE_P(Postgresql, BoardTest, ::testing::Values(Backend::Postgresql));

}  // namespace
