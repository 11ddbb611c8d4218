// The GL owners are move-only: a copy would delete one name twice.
#include "render/gl_object.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "render/geometry.h"
#include "render/shader.h"
#include "render/texture.h"

static_assert(!std::is_copy_constructible_v<GlBuffer>);
static_assert(!std::is_copy_assignable_v<GlBuffer>);
static_assert(std::is_nothrow_move_constructible_v<GlBuffer>);
static_assert(std::is_nothrow_move_assignable_v<GlBuffer>);
static_assert(!std::is_copy_constructible_v<GlProgram>);
static_assert(!std::is_copy_constructible_v<Shader>);
static_assert(!std::is_copy_assignable_v<Shader>);
static_assert(!std::is_copy_constructible_v<Geometry>);
static_assert(!std::is_copy_constructible_v<Texture>);
static_assert(!std::is_copy_constructible_v<Material>);

namespace {

int deletedCount = 0;
GLuint lastDeleted = 0;
struct CountingDeleter {
    void operator()(GLuint name) const {
        ++deletedCount;
        lastDeleted = name;
    }
};
using CountingObject = GlObject<CountingDeleter>;

TEST(GlObject, DeletesANonZeroNameOnceAfterMoves) {
    deletedCount = 0;
    {
        CountingObject first(7);
        CountingObject second(std::move(first));
        EXPECT_EQ(first.get(), 0u);
        CountingObject third;
        third = std::move(second);
        EXPECT_EQ(third.get(), 7u);
        EXPECT_EQ(deletedCount, 0);
    }
    EXPECT_EQ(deletedCount, 1);
    EXPECT_EQ(lastDeleted, 7u);
}

TEST(GlObject, MoveAssignmentDeletesTheNameItReplaces) {
    deletedCount = 0;
    CountingObject kept(3);
    CountingObject replaced(4);
    replaced = std::move(kept);
    EXPECT_EQ(deletedCount, 1);
    EXPECT_EQ(lastDeleted, 4u);
}

TEST(GlObject, EmptyOwnerDeletesNothing) {
    deletedCount = 0;
    { CountingObject empty; }
    EXPECT_EQ(deletedCount, 0);
}

}  // namespace
