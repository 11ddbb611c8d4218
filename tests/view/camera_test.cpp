// The camera's matrices against their closed forms, and its mouse control:
// debug mode only, left button wins, pan in x and y, pitch clamping.
#include "view/camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

namespace {

constexpr float tolerance = 1e-5f;

void expectNear(const glm::vec3& actual, const glm::vec3& expected) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
    }
}

void expectNear(const glm::mat4& actual, const glm::mat4& expected) {
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            EXPECT_NEAR(actual[c][r], expected[c][r], tolerance) << "[" << c << "][" << r << "]";
        }
    }
}

glm::mat4 expectedProjection(float fov, float aspect, float n, float f) {
    const float t = std::tan(fov * 0.017453292f * 0.5f);
    glm::mat4 p(0.0f);
    p[0][0] = 1.0f / (aspect * t);
    p[1][1] = 1.0f / t;
    p[2][2] = -(f + n) / (f - n);
    p[2][3] = -1.0f;
    p[3][2] = -(2.0f * f * n) / (f - n);
    return p;
}

glm::mat4 expectedView(const glm::vec3& eye, const glm::vec3& centre) {
    const glm::vec3 f = glm::normalize(centre - eye);
    const glm::vec3 s = glm::normalize(glm::cross(f, glm::vec3(0, 1, 0)));
    const glm::vec3 u = glm::cross(s, f);
    glm::mat4 v(1.0f);
    for (int i = 0; i < 3; ++i) {
        v[i][0] = s[i];
        v[i][1] = u[i];
        v[i][2] = -f[i];
    }
    v[3][0] = -glm::dot(s, eye);
    v[3][1] = -glm::dot(u, eye);
    v[3][2] = glm::dot(f, eye);
    return v;
}

glm::vec3 orbitEye(const glm::vec3& centre, float zoom, float yaw, float pitch) {
    return centre + zoom * glm::vec3(std::sin(yaw) * std::cos(pitch), -std::sin(pitch),
                                     std::cos(yaw) * std::cos(pitch));
}

// Yaw and pitch seen from the eye around a centre at the origin, zoom 1.
glm::vec2 anglesOf(const Camera& camera) {
    const glm::vec3 eye = camera.getPosition();
    return {std::atan2(eye.x, eye.z), -std::asin(eye.y)};
}

TEST(CameraTest, ViewProjectionIsTheProjectionTimesTheLookAtTwoUnitsAboveTheCentre) {
    const float aspect = 1280.0f / 768.0f;
    Camera camera(60.0f, aspect, 0.1f, 100.0f);
    expectNear(camera.getViewProjectionMatrix(), expectedProjection(60.0f, aspect, 0.1f, 100.0f));

    const glm::vec3 target(3, 0, 7);
    camera.update(0, 0, 20.0f, false, false, false, target);
    expectNear(camera.getPosition(), target + glm::vec3(0, 0, 20));
    expectNear(camera.getViewProjectionMatrix(),
               expectedProjection(60.0f, aspect, 0.1f, 100.0f) *
                   expectedView(target + glm::vec3(0, 0, 20), target + glm::vec3(0, 2, 0)));
}

TEST(CameraTest, EyeOrbitsTheCentreByYawAndPitchAtZoomDistance) {
    Camera camera(45.0f, 1.0f, 0.5f, 50.0f);
    camera.setYaw(0.7f);
    camera.setPitch(-0.4f);
    const glm::vec3 target(-2, 0, 9);
    camera.update(0, 0, 12.5f, false, false, false, target);
    const glm::vec3 eye = orbitEye(target, 12.5f, 0.7f, -0.4f);
    expectNear(camera.getPosition(), eye);
    expectNear(camera.getViewProjectionMatrix(),
               expectedProjection(45.0f, 1.0f, 0.5f, 50.0f) *
                   expectedView(eye, target + glm::vec3(0, 2, 0)));
}

TEST(CameraTest, SettersDoNotClampButEveryDebugUpdateDoes) {
    Camera camera(60.0f, 1.0f, 0.1f, 100.0f);
    camera.setPitch(-1.55f);
    camera.update(0, 0, 1.0f, false, false, false, glm::vec3(0));
    EXPECT_NEAR(anglesOf(camera).y, -1.55f, tolerance);
    camera.update(0, 0, 1.0f, false, false, true, glm::vec3(0));
    EXPECT_NEAR(anglesOf(camera).y, -1.5f, tolerance);

    camera.update(0, -1000, 1.0f, true, false, true, glm::vec3(0));
    EXPECT_NEAR(anglesOf(camera).y, 1.5f, tolerance);
}

TEST(CameraTest, MouseIsIgnoredOutsideDebugModeAndTheLastCursorKept) {
    Camera camera(60.0f, 1.0f, 0.1f, 100.0f);
    camera.update(100, 50, 1.0f, true, true, false, glm::vec3(0));
    expectNear(camera.getPosition(), glm::vec3(0, 0, 1));
    // The first debug update measures from the cursor of construction, (0, 0).
    camera.update(100, 50, 1.0f, true, false, true, glm::vec3(0));
    EXPECT_NEAR(anglesOf(camera).x, -1.0f, tolerance);
    EXPECT_NEAR(anglesOf(camera).y, -0.5f, tolerance);
}

TEST(CameraTest, LeftDragOrbitsAndWinsOverTheRightButton) {
    Camera camera(60.0f, 1.0f, 0.1f, 100.0f);
    camera.update(10, -20, 1.0f, true, true, true, glm::vec3(0));
    EXPECT_NEAR(anglesOf(camera).x, -0.1f, tolerance);
    EXPECT_NEAR(anglesOf(camera).y, 0.2f, tolerance);
    expectNear(camera.getPosition(), orbitEye(glm::vec3(0), 1.0f, -0.1f, 0.2f));
}

TEST(CameraTest, RightDragPansTheOrbitCentreInXAndYOnly) {
    Camera camera(60.0f, 1.0f, 0.1f, 100.0f);
    camera.setYaw(0.3f);
    camera.update(200, 0, 5.0f, false, false, true, glm::vec3(0));  // moves without a button
    camera.update(240, -60, 5.0f, false, true, true, glm::vec3(1, 0, 2));
    const glm::vec3 centre(1.0f + 40 * 0.005f, -60 * 0.005f, 2.0f);
    const glm::vec3 eye = orbitEye(centre, 5.0f, 0.3f, 0.0f);
    expectNear(camera.getPosition(), eye);
    expectNear(camera.getViewProjectionMatrix(),
               expectedProjection(60.0f, 1.0f, 0.1f, 100.0f) *
                   expectedView(eye, centre + glm::vec3(0, 2, 0)));
    // The offset stays with the camera as the target moves.
    camera.update(240, -60, 5.0f, false, false, false, glm::vec3(0));
    expectNear(camera.getPosition(), orbitEye(centre - glm::vec3(1, 0, 2), 5.0f, 0.3f, 0.0f));
}

// A window taller than wide shows the width of the world the wide window
// shows (the projection's x scale is the same), and more of it in height;
// it follows the window's shape from then on. A wide window never changes.
TEST(CameraTest, ATallWindowKeepsTheWideWorldWidthAndFollowsResizes) {
    const float wide = 1280.0f / 768.0f;
    const glm::mat4 wideProjection = Camera(60.0f, wide, 0.1f, 100.0f).getViewProjectionMatrix();
    Camera tall(60.0f, 390.0f / 694.0f, 0.1f, 100.0f, wide);
    EXPECT_NEAR(tall.getViewProjectionMatrix()[0][0], wideProjection[0][0], tolerance);
    EXPECT_LT(tall.getViewProjectionMatrix()[1][1], wideProjection[1][1]);
    // Half the width seen one unit ahead: the same at both shapes.
    const float tallFov = glm::radians(fittedFov(60.0f, 390.0f / 694.0f, wide));
    EXPECT_NEAR(std::tan(tallFov / 2.0f) * 390.0f / 694.0f, std::tan(glm::radians(30.0f)) * wide,
                tolerance);
    tall.fitWindow(390, 500);  // the browser's bar came back
    EXPECT_NEAR(tall.getViewProjectionMatrix()[0][0], wideProjection[0][0], tolerance);
    tall.fitWindow(844, 390);  // turned sideways: the fov as it is set
    expectNear(tall.getViewProjectionMatrix(),
               expectedProjection(60.0f, 844.0f / 390.0f, 0.1f, 100.0f));

    for (const float aspect : {wide, 1.0f, 16.0f / 9.0f}) {
        Camera camera(60.0f, aspect, 0.1f, 100.0f, wide);
        const glm::mat4 before = camera.getViewProjectionMatrix();
        EXPECT_EQ(fittedFov(60.0f, aspect, wide), 60.0f);
        camera.fitWindow(390, 844);
        EXPECT_EQ(camera.getViewProjectionMatrix(), before) << aspect;  // exactly as it was
    }
}

}  // namespace
