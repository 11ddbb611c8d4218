// World generation against a real context: what a seeded world holds, row
// kinds drawn from the seeded twister, and the classic rand values spent in
// row order on trees and logs.
#include "game/world.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <map>
#include <random>

#include "game/classic_rand.h"
#include "support/game_globals.h"
#include "support/gl_context.h"

namespace {

constexpr std::uint32_t boxIndexCount = 36;
constexpr std::uint32_t stripIndexCount = 6000;

glm::vec3 translationOf(const std::shared_ptr<Geometry>& geometry) {
    return glm::vec3(geometry->getModelMatrix()[3]);
}

class WorldTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) {
            return;  // no context: nothing below may touch GL
        }
        resetGameGlobals();
        const auto shader = std::make_shared<Shader>();
        for (auto* material : {&river, &grass, &darkGrey, &lightGrey, &log, &trunk, &crown}) {
            *material = Material::create(shader, glm::vec3(0.5f), glm::vec3(0.1f), 1.0f);
        }
    }
    void TearDown() override {
        releaseWorld();
        riverRows.clear();
        grassRows.clear();
        darkGreyRows.clear();
        lightGreyRows.clear();
        resetGameGlobals();
    }
    void generate(int rowCount) {
        generateWorld(rowCount, riverRows, grassRows, darkGreyRows, lightGreyRows, river, grass,
                      darkGrey, lightGrey, log, trunk, crown);
    }
    // Row kind by z, read back from the four row lists.
    std::map<float, RowKind> kindsByZ() const {
        std::map<float, RowKind> kinds;
        const std::pair<const GeometryList*, RowKind> lists[] = {
            {&grassRows, RowKind::Grass},
            {&riverRows, RowKind::River},
            {&darkGreyRows, RowKind::DarkGrey},
            {&lightGreyRows, RowKind::LightGrey}};
        for (const auto& [list, kind] : lists) {
            for (const auto& row : *list) {
                EXPECT_TRUE(kinds.emplace(translationOf(row).z, kind).second);
            }
        }
        return kinds;
    }

    GeometryList riverRows, grassRows, darkGreyRows, lightGreyRows;
    std::shared_ptr<Material> river, grass, darkGrey, lightGrey, log, trunk, crown;
};

TEST_F(WorldTest, TreeIsATrunkThenACrownAboveItsCell) {
    const GeometryList tree = makeTree({7, -0.5f, 3}, trunk, crown);
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(translationOf(tree[0]), glm::vec3(7, 0, 3));
    EXPECT_EQ(tree[0]->getMaterial(), trunk);
    EXPECT_EQ(translationOf(tree[1]), glm::vec3(7, 1, 3));
    EXPECT_EQ(tree[1]->getMaterial(), crown);
    EXPECT_EQ(tree[0]->getModelMatrix(), glm::translate(glm::mat4(1.0f), glm::vec3(7, 0, 3)));
    EXPECT_EQ(tree[1]->indexCount(), boxIndexCount);
}

// Seed 184 gives the kinds Grass, River, DarkGrey, Grass, LightGrey for rows
// 0 to 4; the rand values 41, 18467 | 6334, 26500 | 19169, 15724 fall on
// rows 0, 1 and 3.
TEST_F(WorldTest, SeededWorldHoldsTheRowsTreesAndLogsOfTheRandSequence) {
    setWorldSeed(184);
    generate(5);
    ASSERT_EQ(grassRows.size(), 2u);
    ASSERT_EQ(riverRows.size(), 1u);
    ASSERT_EQ(darkGreyRows.size(), 1u);
    ASSERT_EQ(lightGreyRows.size(), 1u);
    EXPECT_EQ(translationOf(grassRows[0]), glm::vec3(0, -1, -20));
    EXPECT_EQ(translationOf(grassRows[1]), glm::vec3(0, -1, -17));
    EXPECT_EQ(translationOf(riverRows[0]), glm::vec3(0, -0.7f, -19));
    EXPECT_EQ(translationOf(darkGreyRows[0]), glm::vec3(0, -1, -18));
    EXPECT_EQ(translationOf(lightGreyRows[0]), glm::vec3(0, -1, -16));
    EXPECT_EQ(grassRows[0]->getMaterial(), grass);
    EXPECT_EQ(riverRows[0]->getMaterial(), river);
    EXPECT_EQ(darkGreyRows[0]->getMaterial(), darkGrey);
    EXPECT_EQ(lightGreyRows[0]->getMaterial(), lightGrey);
    EXPECT_EQ(riverRows[0]->indexCount(), stripIndexCount);
    EXPECT_EQ(grassRows[0]->indexCount(), boxIndexCount);

    // 41 % 4 = 1 tree at 18467 % 80 - 40 = 27; 19169 % 4 = 1 at 15724 % 80 - 40 = 4.
    ASSERT_EQ(treePositions, (std::vector<glm::vec3>{{27, -0.5f, -20}, {4, -0.5f, -17}}));
    ASSERT_EQ(treeParts.size(), 4u);
    EXPECT_EQ(translationOf(treeParts[0]), glm::vec3(27, 0, -20));
    EXPECT_EQ(translationOf(treeParts[1]), glm::vec3(27, 1, -20));
    EXPECT_EQ(translationOf(treeParts[2]), glm::vec3(4, 0, -17));
    EXPECT_EQ(treeParts[3]->getMaterial(), crown);

    // 6334 is even: direction +1; 26500 % 2 = 0: speed 2.5.
    ASSERT_EQ(logs.size(), 10u);
    for (int k = 0; k < 10; ++k) {
        const LogEntry& entry = logs[static_cast<std::size_t>(k)];
        const auto offset = 20.0f * static_cast<float>(k);
        EXPECT_EQ(translationOf(entry.geometry), glm::vec3(-50.0f + offset, -1, -19));
        EXPECT_EQ(entry.speed, 2.5f);
        EXPECT_EQ(entry.direction, 1.0f);
        EXPECT_EQ(entry.geometry->getMaterial(), log);
        EXPECT_EQ(entry.geometry->indexCount(), boxIndexCount);
    }
    EXPECT_EQ(classicRand(), 11478);  // exactly six values spent
}

TEST_F(WorldTest, RiverOnTheFirstRowGetsLeftwardFastLogsFromPlusFifty) {
    setWorldSeed(1);  // first row River
    generate(1);
    ASSERT_EQ(logs.size(), 10u);
    for (int k = 0; k < 10; ++k) {
        const LogEntry& entry = logs[static_cast<std::size_t>(k)];
        const auto offset = 20.0f * static_cast<float>(k);
        EXPECT_EQ(translationOf(entry.geometry), glm::vec3(50.0f - offset, -1, -20));
        EXPECT_EQ(entry.speed, 3.5f);
        EXPECT_EQ(entry.direction, -1.0f);
    }
}

TEST_F(WorldTest, RowKindsAreTheTopBitsOfTheSeededTwisterSkippingTheStartRow) {
    setWorldSeed(20240601);
    generate(200);
    const std::map<float, RowKind> kinds = kindsByZ();
    ASSERT_EQ(kinds.size(), 200u);
    std::mt19937 reference(20240601);
    int perKind[4] = {};
    for (int i = 0; i < 200; ++i) {
        const auto z = static_cast<float>(i - 20);
        const RowKind expected = i == 20 ? RowKind::Grass : static_cast<RowKind>(reference() >> 30);
        EXPECT_EQ(kinds.at(z), expected) << "row " << i;
        ++perKind[static_cast<int>(kinds.at(z))];
    }
    for (int count : perKind) {
        EXPECT_GT(count, 30);
        EXPECT_LT(count, 70);
    }
    EXPECT_EQ(logs.size(), 10 * riverRows.size());
    EXPECT_EQ(treeParts.size(), 2 * treePositions.size());
}

TEST_F(WorldTest, SameSeedGivesTheSameWorldAndTheSeedIsSpentByOneCall) {
    setWorldSeed(7);
    generate(60);
    const std::map<float, RowKind> first = kindsByZ();
    const std::vector<glm::vec3> firstTrees = treePositions;
    TearDown();
    setWorldSeed(7);
    generate(60);
    EXPECT_EQ(kindsByZ(), first);
    EXPECT_EQ(treePositions, firstTrees);
    TearDown();
    generate(60);  // seeded by the operating system again
    EXPECT_NE(kindsByZ(), first);
}

TEST_F(WorldTest, NoRowsForACountOfZeroOrLessAndListsAreAppendedTo) {
    generate(0);
    generate(-5);
    EXPECT_TRUE(kindsByZ().empty());
    EXPECT_TRUE(logs.empty() && treeParts.empty() && treePositions.empty());
    EXPECT_EQ(classicRand(), 41);

    resetGameGlobals();
    const auto earlier = Geometry::create(glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, 1000)),
                                          createBoxGeometry(1, 1, 1), grass);
    grassRows.push_back(earlier);
    generate(21);
    EXPECT_EQ(grassRows.front(), earlier);
    EXPECT_EQ(translationOf(grassRows.back()), glm::vec3(0, -1, 0));  // the start row
    EXPECT_EQ(kindsByZ().size(), 22u);
}

}  // namespace
