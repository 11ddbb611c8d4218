// The player's bests end to end: the real game played with xdotool in a
// scratch data folder, its table, "--scores", and the kept recordings
// played back.
#include <gtest/gtest.h>

#include "bests/best_store.h"
#include "bests/score_listing.h"
#include "support/game_session.h"

namespace {

bool showsMenu(const PpmImage& image) {
    return pixelIs(image, 5, 5, kMenuPixel);
}
bool showsSky(const PpmImage& image) {
    return pixelIs(image, 5, 5, kSkyPixel);
}

// The "games" of a --verify verdict line, one JSON object per game.
std::vector<std::string> gamesOfVerdict(const std::string& json) {
    std::vector<std::string> games;
    const std::size_t start = json.find("\"games\":[");
    const std::size_t end = json.find(']', start);
    for (std::size_t at = json.find('{', start); start != std::string::npos && at < end;
         at = json.find('{', at + 1)) {
        games.push_back(json.substr(at, json.find('}', at) - at + 1));
    }
    return games;
}

TEST(BestsTest, TwoGamesAreKeptListedAndTheirRecordingsVerifyToThem) {
    GameSession session;
    ASSERT_TRUE(session.displayOk()) << "Xvfb did not start";
    ASSERT_TRUE(session.start({"--seed", "7", "--mute"}));
    ASSERT_TRUE(session.waitForScreen(showsMenu, 30s));
    // Game 1: one hop forward, then the debug key ends it.
    session.click();
    ASSERT_TRUE(session.waitForScreen(showsSky, 30s));
    session.key("w");
    ASSERT_TRUE(session.game().waitForLine("Score: 1", 30s));
    session.key("c");
    session.key("k");
    session.key("Escape");
    ASSERT_TRUE(session.waitForScreen(showsMenu, 30s));
    // Game 2: ended at once (debug mode is still on).
    session.click();
    ASSERT_TRUE(session.waitForScreen(showsSky, 30s));
    session.key("k");
    session.key("Escape");
    ASSERT_TRUE(session.waitForScreen(showsMenu, 30s));
    session.key("Escape");
    ASSERT_EQ(session.game().waitForExit(60s), 0);

    const std::string data = session.game().dataHome();
    const std::string folder = bestsFolderFor(data.c_str(), nullptr);
    const TableRead read = BestStore(folder).read();
    ASSERT_EQ(read.state, TableState::Good) << read.problem;
    ASSERT_EQ(read.table.overall.size(), 2u);
    const BestEntry& first = read.table.overall[0];
    const BestEntry& second = read.table.overall[1];
    EXPECT_EQ(std::tie(first.score, first.seed, first.ending, first.index),
              std::make_tuple(1, 7u, std::string("ended"), 0));
    EXPECT_EQ(std::tie(second.score, second.seed, second.ending, second.index),
              std::make_tuple(0, 7u, std::string("ended"), 1));
    ASSERT_EQ(read.table.courses.size(), 1u);
    EXPECT_EQ(read.table.courses[0].games, read.table.overall);

    const std::string binary = session.sandbox().binary();
    const std::string work = session.sandbox().workingDirectory();
    ChildProcess scores({binary, "--scores"}, work, "", {"XDG_DATA_HOME=" + data});
    ASSERT_EQ(scores.waitForExit(30s), 0);
    std::vector<std::string> expected{":::::: WELCOME TO QUORLAND ::::::"};
    for (const std::string& line : scoreLines(read, folder)) {
        expected.push_back(line);
    }
    EXPECT_EQ(scores.lines(), expected);
    EXPECT_NE(expected[3].find(folder + "/" + first.recording + " (game index 0)"),
              std::string::npos);

    // Each recording is the run up to that game's end, which --verify
    // tallies there, at the entry's index.
    for (const BestEntry& entry : read.table.overall) {
        ChildProcess verify({binary, "--verify", folder + "/" + entry.recording}, work, "", {});
        ASSERT_EQ(verify.waitForExit(120s), 0);
        ASSERT_FALSE(verify.lines().empty());
        const std::vector<std::string> games = gamesOfVerdict(verify.lines().back());
        ASSERT_EQ(games.size(), static_cast<std::size_t>(entry.index) + 1) << entry.recording;
        EXPECT_EQ(games.back(), "{\"score\":" + std::to_string(entry.score) + ",\"outcome\":\"" +
                                    entry.ending + "\"}");
    }
    EXPECT_EQ(BestStore(folder).read().table.overall, read.table.overall);
}

}  // namespace
