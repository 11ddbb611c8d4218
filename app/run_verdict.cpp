#include "app/run_verdict.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "replay/replay_file.h"

namespace {

// Every version that ever recorded, and the rules it played by.
struct VersionRules {
    const char* version;
    int rules;
};
constexpr VersionRules kVersionRules[] = {
    {"1.0", 1},
    {"1.0.0", 1},
};

// The values of assets/settings/renderer_standard.ini as the game reads them.
const RendererSettings kShippedRenderer{false, false, false, false, true};

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A number as JSON: up to six decimals, no trailing zeros.
std::string jsonNumber(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    std::string number = text;
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.') {
        number.pop_back();
    }
    return number;
}

const char* jsonBool(bool value) {
    return value ? "true" : "false";
}

std::string gamesJson(const std::vector<GameResult>& games) {
    std::string json = "[";
    for (const GameResult& game : games) {
        json += std::string(json.size() > 1 ? "," : "") +
                "{\"score\":" + std::to_string(game.score) + ",\"outcome\":\"" +
                outcomeName(game.outcome) + "\"}";
    }
    return json + "]";
}

}  // namespace

const CameraSettings kShippedCamera{60.0f, 0.1f, 100.0f, 3.14159f, -0.6f};

std::optional<int> rulesOfVersion(const std::string& version) {
    for (const VersionRules& entry : kVersionRules) {
        if (version == entry.version) {
            return entry.rules;
        }
    }
    return std::nullopt;
}

bool usesShippedSettings(const ReplayHeader& header) {
    const CameraSettings& camera = header.camera;
    const RendererSettings& renderer = header.renderer;
    return sameBits(camera.fov, kShippedCamera.fov) &&
           sameBits(camera.nearPlane, kShippedCamera.nearPlane) &&
           sameBits(camera.farPlane, kShippedCamera.farPlane) &&
           sameBits(camera.yaw, kShippedCamera.yaw) &&
           sameBits(camera.pitch, kShippedCamera.pitch) &&
           renderer.wireframe == kShippedRenderer.wireframe &&
           renderer.backfaceCulling == kShippedRenderer.backfaceCulling &&
           renderer.normals == kShippedRenderer.normals &&
           renderer.texcoords == kShippedRenderer.texcoords &&
           renderer.depthTest == kShippedRenderer.depthTest;
}

RunVerdict verdictOfFile(const Replay& replay) {
    RunVerdict verdict;
    verdict.seed = replay.header.seed;
    verdict.frames = replay.frames.size();
    verdict.finished = replay.finished;
    for (const RecordedFrame& frame : replay.frames) {
        if (frame.gameFrame) {
            verdict.seconds += static_cast<double>(frame.deltaTime);
            verdict.longestFrame = std::max(verdict.longestFrame, frame.deltaTime);
        }
    }
    verdict.standardSettings = usesShippedSettings(replay.header);
    verdict.recordedBy = replay.header.gameVersion;
    return verdict;
}

std::string verdictJson(const RunVerdict& verdict) {
    const std::optional<int> rules = rulesOfVersion(verdict.recordedBy);
    // The reader lets only letters, digits and ".+~-" into a version, so it
    // needs no escaping.
    return "{\"seed\":" + std::to_string(verdict.seed) +
           ",\"frames\":" + std::to_string(verdict.frames) +
           ",\"finished\":" + jsonBool(verdict.finished) +
           ",\"in_step\":" + jsonBool(verdict.inStep) +
           ",\"seconds\":" + jsonNumber(verdict.seconds) +
           ",\"longest_frame\":" + jsonNumber(static_cast<double>(verdict.longestFrame)) +
           ",\"games\":" + gamesJson(verdict.games) + ",\"best\":" + std::to_string(verdict.best) +
           ",\"debug\":" + jsonBool(verdict.debug) +
           ",\"standard_settings\":" + jsonBool(verdict.standardSettings) +
           ",\"format\":" + std::to_string(kReplayFormatVersion) + ",\"recorded_by\":\"" +
           verdict.recordedBy + "\",\"rules\":" + (rules ? std::to_string(*rules) : "null") +
           ",\"version\":\"" + gameVersion() + "\"}";
}
