// A GL test fixture for the rules that need real logs and river rows: it
// resets the game globals around each test and releases the world lists
// while the context is still current.
#pragma once

#include <memory>

#include "game/world.h"
#include "support/gl_context.h"

class RiverTest : public GlTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Appends a log at (x, -1, z) to the world's list.
    void addLog(float x, float z, float speed, float direction);
    // A river row's water at (0, -0.7, z), for the caller's row list.
    std::shared_ptr<Geometry> makeRiverRow(float z);

    std::shared_ptr<Material> material_;
};
