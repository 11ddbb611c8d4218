// The store of bests with real files in a scratch folder: two writers at
// once, damaged, newer and half-written tables, a folder that cannot be
// written, and which recordings stay.
#include "bests/best_store.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/console_capture.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

BestEntry game(int score, std::uint32_t seed = 7) {
    return {score, seed, "2026-12-09T10:00:00Z", "river", "", 1};
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class BestStoreTest : public testing::Test {
  protected:
    BestTable table() const {
        const TableRead read = BestStore(folder_).read();
        EXPECT_EQ(read.state, TableState::Good) << read.problem;
        return read.table;
    }

    ScratchFolder scratch_ = ScratchFolder::inTemp();
    std::string folder_ = scratch_.file("data/quorland");
};

TEST(BestsFolder, ComesFromXdgDataHomeThenHome) {
    EXPECT_EQ(bestsFolderFor("/x", "/h"), "/x/quorland");
    EXPECT_EQ(bestsFolderFor("", "/h"), "/h/.local/share/quorland");
    EXPECT_EQ(bestsFolderFor("relative", "/h"), "/h/.local/share/quorland");
    EXPECT_EQ(bestsFolderFor(nullptr, "/h"), "/h/.local/share/quorland");
    EXPECT_EQ(bestsFolderFor(nullptr, nullptr), "");
    EXPECT_EQ(bestsFolderFor(nullptr, ""), "");
}

TEST_F(BestStoreTest, KeepsPlacedGamesWithTheirRecordingsAndRemovesDroppedOnes) {
    BestStore store(folder_);
    for (int score = 0; score <= 10; ++score) {
        ASSERT_TRUE(store.weigh(game(score), false, "run " + std::to_string(score) + "\n"));
    }
    EXPECT_TRUE(store.weigh(game(0), false, "not kept\n"));
    const BestTable kept = table();
    ASSERT_EQ(kept.overall.size(), 10u);
    EXPECT_EQ(kept.overall[0].score, 10);
    EXPECT_EQ(readWholeFile(folder_ + "/" + kept.overall[0].recording), "run 10\n");
    // The eleven games' recordings minus the dropped score 0 and the one never placed.
    std::vector<std::string> expected{"bests.lock", "bests.txt"};
    for (const std::string& name : recordingsOf(kept)) {
        expected.push_back(name);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesIn(folder_), expected);
}

TEST_F(BestStoreTest, TwoProcessesWeighingAtOnceLoseNothing) {
    const auto play = [this](std::uint32_t firstSeed) {
        BestStore store(folder_);
        for (std::uint32_t seed = firstSeed; seed < firstSeed + 20; ++seed) {
            store.weigh(game(1, seed), true, "run\n");
        }
    };
    const pid_t other = fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        play(1000);
        _exit(0);
    }
    play(2000);
    int status = 0;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    EXPECT_EQ(table().courses.size(), 40u);
}

TEST_F(BestStoreTest, ADamagedTableIsSetAsideInOneLineWithItsRecordingsAndANewOneStarted) {
    ASSERT_TRUE(fs::create_directories(folder_));
    const std::string damaged =
        "QUORLAND-BESTS 1\noverall\nbest 3 7 2026-12-09T10:00:00Z river game-old.replay 0\n"
        "checksum 0\n";
    scratch_.write("data/quorland/bests.txt", damaged);
    scratch_.write("data/quorland/game-old.replay", "its run\n");
    BestStore store(folder_);
    CaptureStderr();
    EXPECT_TRUE(store.weigh(game(4), false, "run\n"));
    EXPECT_TRUE(store.weigh(game(5), false, "run\n"));
    const std::vector<std::string> said = splitLines(GetCapturedStderr());
    ASSERT_EQ(said.size(), 1u);
    const std::size_t from = said[0].find(" as ") + 4;
    const std::string aside = said[0].substr(from, said[0].find(" and a new") - from);
    EXPECT_EQ(aside.rfind(folder_ + "/bests.txt.damaged-2", 0), 0u) << aside;
    EXPECT_EQ(said[0], "The table of bests " + folder_ +
                           "/bests.txt was damaged (line 4: the checksum does not match); it is "
                           "set aside as " +
                           aside + " and a new one is started");
    EXPECT_EQ(readWholeFile(aside), damaged);
    EXPECT_EQ(readWholeFile(folder_ + "/game-old.replay"), "its run\n");
    EXPECT_EQ(table().overall.size(), 2u);
}

TEST_F(BestStoreTest, ANewerTableAndALeftOverTemporaryFileNeverCostTheLastGoodTable) {
    BestStore store(folder_);
    ASSERT_TRUE(store.weigh(game(3), false, "run\n"));
    scratch_.write("data/quorland/bests.txt.tmp-99999", "QUORLAND-BESTS 1\nove");
    ASSERT_TRUE(store.weigh(game(4), false, "run\n"));
    EXPECT_EQ(table().overall.size(), 2u);
    EXPECT_FALSE(fs::exists(folder_ + "/bests.txt.tmp-99999"));

    const std::string newer = "QUORLAND-BESTS 2\nsomething else\n";
    scratch_.write("data/quorland/bests.txt", newer);
    const std::vector<std::string> before = filesIn(folder_);
    CaptureStderr();
    EXPECT_FALSE(store.weigh(game(9), false, "run\n"));
    EXPECT_FALSE(store.weigh(game(9), false, "run\n"));
    EXPECT_EQ(GetCapturedStderr(), "Bests are not kept: " + folder_ +
                                       "/bests.txt was written by a newer QUORLAND (version 2); "
                                       "it is left as it is\n");
    EXPECT_EQ(readWholeFile(folder_ + "/bests.txt"), newer);
    EXPECT_EQ(filesIn(folder_), before);
}

TEST_F(BestStoreTest, AFolderThatCannotBeWrittenIsOneLineAndNothingElse) {
    scratch_.write("data", "a file where the folder should be");
    BestStore store(folder_);
    CaptureStderr();
    EXPECT_FALSE(store.weigh(game(3), false, "run\n"));
    EXPECT_FALSE(store.weigh(game(4), true, "run\n"));
    EXPECT_EQ(GetCapturedStderr(),
              "Bests are not kept: cannot write " + folder_ + " (Not a directory)\n");
    EXPECT_EQ(filesIn(scratch_.path().string()), std::vector<std::string>{"data"});

    BestStore homeless("");
    CaptureStderr();
    EXPECT_FALSE(homeless.weigh(game(3), false, "run\n"));
    EXPECT_EQ(GetCapturedStderr(), "Bests are not kept: neither XDG_DATA_HOME nor HOME is set\n");
}

}  // namespace
