// A perspective camera orbiting a target point, normally the player.
//
// In normal play it keeps the yaw and pitch it was given and only follows
// the target; in debug mode the left mouse button orbits it and the right
// button shifts its orbit centre. It looks at a point 2 units above the
// orbit centre. The projection is built once: a later window resize keeps
// the start-up aspect ratio. A plain value; it owns no GL objects.
#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

class Camera {
  public:
    // fov in degrees; GLM's right-handed projection, clip depth -1 ... 1.
    Camera(float fovDegrees, float aspect, float nearDistance, float farDistance);

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
    glm::mat4 viewMatrix{1.0f};  // identity until the first update
    glm::mat4 projectionMatrix;
    int lastCursorX = 0;  // cursor seen by the previous debug-mode update, pixels
    int lastCursorY = 0;
    float yaw = 0.0f;           // radians
    float pitch = 0.0f;         // radians
    glm::vec3 position{0.0f};   // eye, as of the last update
    glm::vec3 panOffset{0.0f};  // orbit centre minus target
};
