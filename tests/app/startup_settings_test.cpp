// Start-up settings: which files are read, and the defaults when they are
// missing.
#include "app/startup_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/scratch_folder.h"

namespace {

TEST(StartupSettings, TheGameFilesAreReadWithoutComplaint) {
    testing::internal::CaptureStdout();
    const StartupSettings settings = readStartupSettings(CommandLineOptions{});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(settings.window.width, 1280);
    EXPECT_EQ(settings.window.height, 768);
    EXPECT_EQ(settings.window.title, "QUORLAND");
    // The eye sits behind and above the player, looking forward (+z).
    EXPECT_NEAR(settings.camera.yaw, 3.14159f, 1e-5f);
    EXPECT_LT(settings.camera.pitch, 0.0f);
    EXPECT_TRUE(settings.renderer.depthTest);
}

TEST(StartupSettings, CommandLinePathsReplaceTheCameraAndRendererFiles) {
    const ScratchFolder tree = ScratchFolder::besideTestExecutable();
    tree.write("cam.ini", "[camera]\nfov = 45\nnear = 0.5\nfar = 50\nyaw = 1\npitch = 2\n");
    tree.write("ren.ini",
               "[renderer]\nwireframe = on\nbackface_culling = yes\nnormals = 1\n"
               "texcoords = true\ndepthtest = off\n");
    CommandLineOptions options;
    options.initCamera = true;
    options.cameraSettingsPath = tree.assetPath("cam.ini");
    options.initRenderer = true;
    options.rendererSettingsPath = tree.assetPath("ren.ini");

    const StartupSettings settings = readStartupSettings(options);
    EXPECT_FLOAT_EQ(settings.camera.fov, 45.0f);
    EXPECT_FLOAT_EQ(settings.camera.nearPlane, 0.5f);
    EXPECT_FLOAT_EQ(settings.camera.farPlane, 50.0f);
    EXPECT_FLOAT_EQ(settings.camera.yaw, 1.0f);
    EXPECT_FLOAT_EQ(settings.camera.pitch, 2.0f);
    EXPECT_TRUE(settings.renderer.wireframe);
    EXPECT_TRUE(settings.renderer.backfaceCulling);
    EXPECT_TRUE(settings.renderer.normals);
    EXPECT_TRUE(settings.renderer.texcoords);
    EXPECT_FALSE(settings.renderer.depthTest);
}

TEST(StartupSettings, MissingFilesGiveTheDefaults) {
    CommandLineOptions options;
    options.initCamera = true;
    options.cameraSettingsPath = "missing/camera.ini";
    options.initRenderer = true;
    options.rendererSettingsPath = "missing/renderer.ini";
    testing::internal::CaptureStdout();
    const StartupSettings settings = readStartupSettings(options);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR: Failed to load 'missing/camera.ini'. Using default values instead.\n"
              "ERROR: Failed to load 'missing/renderer.ini'. Using default values instead.\n");
    EXPECT_FLOAT_EQ(settings.camera.fov, 60.0f);
    EXPECT_FLOAT_EQ(settings.camera.nearPlane, 0.1f);
    EXPECT_FLOAT_EQ(settings.camera.farPlane, 100.0f);
    EXPECT_FLOAT_EQ(settings.camera.yaw, 0.0f);
    EXPECT_FLOAT_EQ(settings.camera.pitch, 0.0f);
    EXPECT_FALSE(settings.renderer.wireframe);
    EXPECT_FALSE(settings.renderer.backfaceCulling);
    EXPECT_TRUE(settings.renderer.depthTest);
    // A recording names them, so that its replay can say the same lines.
    EXPECT_EQ(settings.missingFiles,
              (std::vector<std::string>{"missing/camera.ini", "missing/renderer.ini"}));
}

TEST(StartupSettings, NarrowingSaturatesInsteadOfWrapping) {
    EXPECT_EQ(narrowSetting(4294968576L), std::numeric_limits<int>::max());
    EXPECT_EQ(narrowSetting(-99999999999L), std::numeric_limits<int>::min());
    EXPECT_EQ(narrowSetting(-5L), -5);
    EXPECT_EQ(narrowSetting(1e39), std::numeric_limits<float>::max());
    EXPECT_EQ(narrowSetting(-1e39), -std::numeric_limits<float>::max());
    EXPECT_EQ(narrowSetting(0.5), 0.5f);
    EXPECT_EQ(narrowSetting(-std::numeric_limits<double>::infinity()),
              -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(narrowSetting(std::nan(""))));
}

// Values beyond the members' ranges saturate instead of wrapping or being
// converted out of range; the odd but representable ones pass unchanged.
TEST(StartupSettings, AbsurdValuesSaturateOrPassThroughUnchanged) {
    const ScratchFolder tree = ScratchFolder::besideTestExecutable();
    tree.write("cam.ini", "[camera]\nfov = 1e300\nnear = -1e300\nfar = nan\nyaw = 180\n");
    tree.write("ren.ini", "[renderer]\nwireframe = 2\n");
    CommandLineOptions options;
    options.initCamera = true;
    options.cameraSettingsPath = tree.assetPath("cam.ini");
    options.initRenderer = true;
    options.rendererSettingsPath = tree.assetPath("ren.ini");

    const StartupSettings settings = readStartupSettings(options);
    EXPECT_EQ(settings.camera.fov, std::numeric_limits<float>::max());
    EXPECT_EQ(settings.camera.nearPlane, -std::numeric_limits<float>::max());
    EXPECT_TRUE(std::isnan(settings.camera.farPlane));
    EXPECT_FLOAT_EQ(settings.camera.yaw, 180.0f);
    EXPECT_FALSE(settings.renderer.wireframe);
}

}  // namespace
