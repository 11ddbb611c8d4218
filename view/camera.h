// A perspective camera orbiting a target point, normally the player.
//
// In normal play it keeps the yaw and pitch it was given and only follows
// the target; in debug mode the left mouse button orbits it and the right
// button shifts its orbit centre. It looks at a point 2 units above the
// orbit centre. A window wider than high (the desktop, a phone held
// sideways) keeps the projection it started with, whatever resizes come.
// One that starts taller than wide (the page on a phone held upright) gets
// the vertical field of view that shows the width of the world the camera
// shows at its wide aspect, so a tall window sees more rows ahead rather
// than a narrower or stretched picture, and its projection follows the
// window's shape from then on. A plain value; it owns no GL objects.
#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

// The vertical field of view, degrees, that shows at `aspect` (width /
// height) the width `fovDegrees` shows at `wideAspect`, for a window taller
// than wide; `fovDegrees` itself otherwise.
float fittedFov(float fovDegrees, float aspect, float wideAspect);

class Camera {
  public:
    // fov in degrees (vertical at `wideAspect`); aspect = width / height;
    // GLM's right-handed projection, clip depth -1 ... 1. `wideAspect` 0
    // takes `aspect` itself: the field of view is then used as it is.
    Camera(float fovDegrees, float aspect, float nearDistance, float farDistance,
           float wideAspect = 0.0f);

    // The window is now `width` x `height` pixels: a camera that started
    // taller than wide refits its projection; others, and a minimised
    // window (a side of 0), keep theirs.
    void fitWindow(int width, int height);

    // Radians, stored unchanged (debug updates clamp pitch, these do not).
    void setYaw(float yawRadians) { yaw = yawRadians; }
    void setPitch(float pitchRadians) { pitch = pitchRadians; }

    // Cursor in whole pixels. Mouse input counts only when `debug` is on;
    // then the left button orbits (0.01 rad per pixel) and wins over the
    // right, which pans the orbit centre in x and y (0.005 units per
    // pixel), and pitch is kept within [-1.5, 1.5]. The eye sits
    // `zoomDistance` from the centre (target + pan offset).
    void update(int cursorX, int cursorY, float zoomDistance, bool leftButtonDown,
                bool rightButtonDown, bool debug, const glm::vec3& target);

    glm::vec3 getPosition() const { return position; }
    glm::mat4 getViewProjectionMatrix() const { return projectionMatrix * viewMatrix; }

  private:
    void project(float aspect);

    glm::mat4 viewMatrix{1.0f};  // identity until the first update
    glm::mat4 projectionMatrix;
    float fovDegrees_;    // vertical at wideAspect_
    float wideAspect_;    // width / height at which fovDegrees_ is vertical
    float aspect_;        // of the projection now
    float near_;          // world units
    float far_;           // world units
    bool followsWindow_;  // started taller than wide
    int lastCursorX = 0;  // cursor seen by the previous debug-mode update, pixels
    int lastCursorY = 0;
    float yaw = 0.0f;           // radians
    float pitch = 0.0f;         // radians
    glm::vec3 position{0.0f};   // eye, as of the last update
    glm::vec3 panOffset{0.0f};  // orbit centre minus target
};
