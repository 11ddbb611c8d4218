// The upward asset search against real folder trees.
#include "framework/asset_path.h"

#include <gtest/gtest.h>

#include "support/console_capture.h"
#include "support/scratch_folder.h"

namespace {

using Candidates = std::vector<std::string>;
const std::string kAsset = "assets/shaders/a.vert";

// <tmp>/top/project/CMakeLists.txt with the executable in project/build/bin.
class AssetSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        project_ = std::filesystem::path(tree_.write("top/project/CMakeLists.txt")).parent_path();
        exeFolder_ = tree_.makeFolder("top/project/build/bin");
    }
    ScratchFolder tree_ = ScratchFolder::inTemp();
    std::filesystem::path project_;
    std::filesystem::path exeFolder_;
};

TEST_F(AssetSearchTest, FindsAFileNextToTheExecutableWithItsForwardSlashes) {
    tree_.write("top/project/build/bin/" + kAsset);
    EXPECT_EQ(searchAssetCandidates(exeFolder_, kAsset),
              Candidates{exeFolder_.string() + "/" + kAsset});
}

TEST_F(AssetSearchTest, FindsAFileInTheProjectRootTwoLevelsUp) {
    tree_.write("top/project/" + kAsset);
    EXPECT_EQ(searchAssetCandidates(exeFolder_, kAsset),
              Candidates{project_.string() + "/" + kAsset});
}

TEST_F(AssetSearchTest, ListsEveryCopyNearestFirst) {
    tree_.write("top/project/" + kAsset);
    tree_.write("top/project/build/" + kAsset);
    tree_.write("top/project/build/bin/" + kAsset);
    EXPECT_EQ(searchAssetCandidates(exeFolder_, kAsset),
              (Candidates{exeFolder_.string() + "/" + kAsset,
                          (project_ / "build").string() + "/" + kAsset,
                          project_.string() + "/" + kAsset}));
}

TEST_F(AssetSearchTest, StopsAtTheFirstFolderHoldingTheMarker) {
    tree_.write("top/" + kAsset);
    EXPECT_TRUE(searchAssetCandidates(exeFolder_, kAsset).empty());
}

TEST_F(AssetSearchTest, AFolderNamedLikeTheAssetIsNoMatch) {
    tree_.makeFolder("top/project/" + kAsset);
    EXPECT_TRUE(searchAssetCandidates(exeFolder_, kAsset).empty());
}

TEST_F(AssetSearchTest, AFolderNamedLikeTheMarkerIsNoMarker) {
    tree_.makeFolder("top/project/build/CMakeLists.txt");
    tree_.write("top/project/" + kAsset);
    EXPECT_EQ(searchAssetCandidates(exeFolder_, kAsset),
              Candidates{project_.string() + "/" + kAsset});
}

TEST_F(AssetSearchTest, AnAbsolutePathIsOneCandidateFromEveryFolder) {
    const std::string absolute = tree_.write("elsewhere/camera.ini");
    EXPECT_EQ(searchAssetCandidates(exeFolder_, absolute), Candidates{absolute});
}

TEST(AssetSearch, WithoutAMarkerSearchesUpToTheFileSystemRootOnce) {
    const ScratchFolder tree = ScratchFolder::inTemp();
    ASSERT_TRUE(isReadableFile("/etc/hostname"));
    EXPECT_EQ(searchAssetCandidates(tree.path(), "etc/hostname"), Candidates{"/etc/hostname"});
}

TEST(AssetSearch, PickingReturnsEmptyOrTheSingleCandidateSilently) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(pickSingleCandidate(kAsset, {}), "");
    EXPECT_EQ(pickSingleCandidate(kAsset, {"/x/" + kAsset}), "/x/" + kAsset);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(AssetSearchDeathTest, TwoCandidatesAreReportedInOrderAndEndTheProgram) {
    const std::string expected =
        "^Ambiguous asset file path: 'assets/shaders/a\\.vert'\n"
        "Found this path at multiple locations\\. Don't know which one shall be used\\. "
        "Candidates are:\n"
        "  - /near/assets/shaders/a\\.vert\n"
        "  - /far/assets/shaders/a\\.vert\n"
        "Remove all duplicates to fix this!\n$";
    EXPECT_EXIT(
        {
            routeConsoleForDeathTest();
            pickSingleCandidate(kAsset, {"/near/" + kAsset, "/far/" + kAsset});
        },
        ::testing::ExitedWithCode(1), expected);
}

TEST(AssetSearch, FindsTheGameAssetsFromTheTestExecutable) {
    const std::string found = findAssetFile("assets/settings/window.ini");
    EXPECT_EQ(found, std::string(QUORLAND_SOURCE_DIR) + "/assets/settings/window.ini");
    EXPECT_EQ(findAssetFile("assets/settings/no_such.ini"), "");
}

}  // namespace
