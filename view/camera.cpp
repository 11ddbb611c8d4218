#include "view/camera.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtx/euler_angles.hpp>
#include <glm/vec4.hpp>

namespace {

constexpr float rotationPerPixel = 0.01f;  // radians
constexpr float panPerPixel = 0.005f;      // world units
constexpr float pitchLimit = 1.5f;         // radians, just under a quarter turn
const glm::vec3 lookAtLift(0.0f, 2.0f, 0.0f);
const glm::vec3 worldUp(0.0f, 1.0f, 0.0f);

}  // namespace

float fittedFov(float fovDegrees, float aspect, float wideAspect) {
    if (aspect >= 1.0f) {
        return fovDegrees;
    }
    const float halfWidth = std::tan(glm::radians(fovDegrees) * 0.5f) * wideAspect;
    return glm::degrees(2.0f * std::atan(halfWidth / aspect));
}

Camera::Camera(float fovDegrees, float aspect, float nearDistance, float farDistance,
               float wideAspect)
    : fovDegrees_(fovDegrees),
      wideAspect_(wideAspect > 0.0f ? wideAspect : aspect),
      aspect_(aspect),
      near_(nearDistance),
      far_(farDistance),
      followsWindow_(aspect < 1.0f) {
    project(aspect);
}

void Camera::fitWindow(int width, int height) {
    if (!followsWindow_ || width <= 0 || height <= 0) {
        return;
    }
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    if (aspect != aspect_) {
        project(aspect);
    }
}

void Camera::project(float aspect) {
    aspect_ = aspect;
    const float fov = fittedFov(fovDegrees_, aspect, wideAspect_);
    projectionMatrix = glm::perspective(glm::radians(fov), aspect, near_, far_);
}

void Camera::update(int cursorX, int cursorY, float zoomDistance, bool leftButtonDown,
                    bool rightButtonDown, bool debug, const glm::vec3& target) {
    if (debug) {
        const auto dx = static_cast<float>(cursorX - lastCursorX);
        const auto dy = static_cast<float>(cursorY - lastCursorY);
        if (leftButtonDown) {
            yaw -= dx * rotationPerPixel;
            pitch -= dy * rotationPerPixel;
        } else if (rightButtonDown) {
            panOffset.x += dx * panPerPixel;
            panOffset.y += dy * panPerPixel;
        }
        lastCursorX = cursorX;
        lastCursorY = cursorY;
        pitch = std::clamp(pitch, -pitchLimit, pitchLimit);
    }
    const glm::vec3 centre = target + panOffset;
    const glm::mat4 rotation = glm::yawPitchRoll(yaw, pitch, 0.0f);
    position = centre + glm::vec3(rotation * glm::vec4(0.0f, 0.0f, zoomDistance, 0.0f));
    viewMatrix = glm::lookAt(position, centre + lookAtLift, worldUp);
}
