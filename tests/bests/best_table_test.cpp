// The tables of bests as text: ranking, the places of each table, the
// courses' order, and what a damaged or newer file reads as.
#include "bests/best_table.h"

#include <gtest/gtest.h>

#include "bests/score_listing.h"
#include "bests/utc_date.h"

namespace {

BestEntry game(int score, const std::string& when = "2026-12-09T10:00:00Z", std::uint32_t seed = 7,
               int index = 1) {
    return {score, seed, when, "river", "game-a.replay", index};
}

std::vector<int> scoresOf(const std::vector<BestEntry>& games) {
    std::vector<int> scores;
    for (const BestEntry& entry : games) {
        scores.push_back(entry.score);
    }
    return scores;
}

TEST(BestTable, RankingIsScoreThenEarlierThenRecordingThenIndex) {
    struct Case {
        BestEntry a, b;
        bool above;
    };
    const Case cases[] = {
        {game(5), game(4), true},
        {game(4), game(5), false},
        {game(5, "2026-12-09T10:00:00Z"), game(5, "2026-12-09T10:00:01Z"), true},
        {game(5, "2026-12-10T00:00:00Z"), game(5, "2026-12-09T23:59:59Z"), false},
        {game(5, "2026-12-09T10:00:00Z", 7, 1), game(5, "2026-12-09T10:00:00Z", 7, 2), true},
        {game(5), game(5), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ranksAbove(c.a, c.b), c.above) << c.a.score << c.a.when << " vs " << c.b.when;
    }
}

TEST(BestTable, OverallKeepsTenAndATieWithTheLastPlaceStaysOut) {
    BestTable table;
    for (int score = 1; score <= 12; ++score) {
        table = weighGame(table, game(score), false).table;
    }
    EXPECT_EQ(scoresOf(table.overall), (std::vector<int>{12, 11, 10, 9, 8, 7, 6, 5, 4, 3}));
    const Weighing tie = weighGame(table, game(3, "2026-12-09T11:00:00Z"), false);
    EXPECT_FALSE(tie.placed);
    EXPECT_FALSE(tie.changed);
    const Weighing better = weighGame(table, game(4, "2026-12-09T11:00:00Z"), false);
    EXPECT_TRUE(better.placed);
    EXPECT_EQ(scoresOf(better.table.overall), (std::vector<int>{12, 11, 10, 9, 8, 7, 6, 5, 4, 4}));
    EXPECT_EQ(better.table.overall[9].when, "2026-12-09T11:00:00Z");
    EXPECT_TRUE(better.table.courses.empty());
}

TEST(BestTable, ACourseKeepsThreeAndTheLeastRecentlyPlayedCourseGoesFirst) {
    BestTable table;
    for (int score : {1, 5, 3, 4}) {
        table = weighGame(table, game(score, "2026-12-09T10:00:00Z", 42), true).table;
    }
    ASSERT_EQ(table.courses.size(), 1u);
    EXPECT_EQ(scoresOf(table.courses[0].games), (std::vector<int>{5, 4, 3}));
    for (std::uint32_t seed = 100; seed < 100 + kMaxCourses - 1; ++seed) {
        table = weighGame(table, game(0, "2026-12-09T10:00:00Z", seed), true).table;
    }
    ASSERT_EQ(table.courses.size(), kMaxCourses);
    EXPECT_EQ(table.courses.back().seed, 42u);
    // Played again (without a place), 42 becomes the most recent; 100 is dropped next.
    const Weighing again = weighGame(table, game(0, "2026-12-09T12:00:00Z", 42), true);
    EXPECT_FALSE(again.placed);
    EXPECT_TRUE(again.changed);
    table = weighGame(again.table, game(0, "2026-12-09T12:00:00Z", 1000), true).table;
    ASSERT_EQ(table.courses.size(), kMaxCourses);
    EXPECT_EQ(table.courses[0].seed, 1000u);
    EXPECT_EQ(table.courses[1].seed, 42u);
    EXPECT_EQ(table.courses.back().seed, 101u);
}

TEST(BestTable, WrittenTablesReadBackAndOnlyNamedRecordingsAreKept) {
    BestTable table;
    table =
        weighGame(table, {9, 20261209, "2026-12-09T10:00:00Z", "carried", "game-b.replay", 2}, true)
            .table;
    table = weighGame(table, {3, 5, "2026-12-09T11:00:00Z", "unfinished", kNoRecording, 1}, false)
                .table;
    const std::string text = writeBestTable(table);
    EXPECT_EQ(text,
              "QUORLAND-BESTS 1\noverall\n"
              "best 9 20261209 2026-12-09T10:00:00Z carried game-b.replay 2\n"
              "best 3 5 2026-12-09T11:00:00Z unfinished - 1\n"
              "course 20261209\n"
              "best 9 20261209 2026-12-09T10:00:00Z carried game-b.replay 2\n" +
                  text.substr(text.rfind("checksum ")));
    const TableRead read = readBestTable(text);
    ASSERT_EQ(read.state, TableState::Good) << read.problem;
    EXPECT_EQ(writeBestTable(read.table), text);
    EXPECT_EQ(recordingsOf(read.table), std::set<std::string>{"game-b.replay"});
    EXPECT_EQ(readBestTable("").state, TableState::Good);
}

TEST(BestTable, DamagedAndNewerTextsAreToldApart) {
    const std::string head = "QUORLAND-BESTS 1\noverall\n";
    const std::string entry = "best 9 7 2026-12-09T10:00:00Z river game-b.replay 2\n";
    std::string flipped = sealBestTable(head + entry);
    flipped[flipped.find('9')] = '8';
    struct Case {
        std::string text;
        TableState state;
        std::string problem;
    };
    const Case cases[] = {
        {"QUORLAND-BESTS 2\nwhatever\n", TableState::Newer, "version 2"},
        {"QUORLAND-BESTS 0\n", TableState::Corrupt, "line 1: not a table of bests"},
        {"hello\n", TableState::Corrupt, "line 1: not a table of bests"},
        {flipped, TableState::Corrupt, "line 4: the checksum does not match"},
        {head + entry, TableState::Corrupt, "line 3: the checksum does not match"},
        {sealBestTable("QUORLAND-BESTS 1\n"), TableState::Corrupt, "line 2: expected 'overall'"},
        {sealBestTable(head + "best 9 7 2026-12-09 river game-b.replay 2\n"), TableState::Corrupt,
         "line 3: not a course or a game of its table"},
        {sealBestTable(head + "best 9 7 2026-12-09T10:00:00Z river ../x.replay 2\n"),
         TableState::Corrupt, "line 3: not a course or a game of its table"},
        {sealBestTable(head + "course 7\ncourse 8\n" + entry), TableState::Corrupt,
         "line 4: a course twice, more than 100 courses or a course without games"},
        {sealBestTable(head + "course 7\n" + entry + entry + entry + entry), TableState::Corrupt,
         "line 7: not a course or a game of its table"},
        {sealBestTable(head + "course 7\n"), TableState::Corrupt, "line 3: a course without games"},
    };
    for (const Case& c : cases) {
        const TableRead read = readBestTable(c.text);
        EXPECT_EQ(read.state, c.state) << c.text;
        EXPECT_EQ(read.problem, c.problem) << c.text;
    }
}

TEST(BestTable, TheDayOfTheCourseIsItsUtcDate) {
    struct Case {
        std::int64_t unixSeconds;
        std::uint32_t seed;
        std::string when;
    };
    const Case cases[] = {
        {1796774400, 20261209, "2026-12-09T00:00:00Z"},
        {1798761599, 20261231, "2026-12-31T23:59:59Z"},
        {1798761600, 20270101, "2027-01-01T00:00:00Z"},
        {1709164800, 20240229, "2024-02-29T00:00:00Z"},
        {1709251199, 20240229, "2024-02-29T23:59:59Z"},
        {1709251200, 20240301, "2024-03-01T00:00:00Z"},
        {0, 19700101, "1970-01-01T00:00:00Z"},
    };
    for (const Case& c : cases) {
        const UtcDateTime when = utcFromUnixSeconds(c.unixSeconds);
        EXPECT_EQ(dailySeed(when), c.seed) << c.unixSeconds;
        EXPECT_EQ(isoDateTime(when), c.when);
    }
    EXPECT_EQ(compactDateTime(utcFromUnixSeconds(1796828808)), "20261209T150648Z");
}

TEST(BestTable, ScoresListEveryTableWithFullPaths) {
    BestTable table;
    table =
        weighGame(table, {9, 20261209, "2026-12-09T10:00:00Z", "carried", "game-b.replay", 2}, true)
            .table;
    EXPECT_EQ(scoreLines(readBestTable(writeBestTable(table)), "/h/quorland"),
              (std::vector<std::string>{
                  "Best games overall:",
                  "rank  score  seed        date (UTC)            ended       recording",
                  "   1      9  20261209    2026-12-09T10:00:00Z  carried     "
                  "/h/quorland/game-b.replay (game index 2)",
                  "Best games on course 20261209:",
                  "rank  score  seed        date (UTC)            ended       recording",
                  "   1      9  20261209    2026-12-09T10:00:00Z  carried     "
                  "/h/quorland/game-b.replay (game index 2)"}));
    EXPECT_EQ(scoreLines(readBestTable(""), "/h/quorland"),
              std::vector<std::string>{"No bests yet: no game is kept in /h/quorland/bests.txt"});
    EXPECT_EQ(scoreLines(readBestTable(""), ""),
              std::vector<std::string>{"No bests are kept: neither XDG_DATA_HOME nor HOME is set"});
}

}  // namespace
