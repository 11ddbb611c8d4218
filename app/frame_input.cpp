#include "app/frame_input.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "framework/console.h"
#include "game/game_state.h"
#include "game/hopping.h"
#include "view/input_callbacks.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace

FrameInput::FrameInput(FrameHost& host, std::optional<ReplaySource> source,
                       ReplayRecorder* recorder)
    : host_(host), source_(std::move(source)), recorder_(recorder) {
    started_ = lastFrameEnd_ = Clock::now();
    paceStart_ = host_.now();
    if (!source_ && recorder_ == nullptr) {
        return;  // live: the game's callbacks stay installed as they are
    }
    host_.forwardEventsTo(*this);
    if (source_ && source_->mode == ReplayMode::Timedemo) {
        host_.stopWaitingForTheDisplay();
    }
}

void FrameInput::onLiveEvent(const InputEvent& event) {
    // Held until the poll returns: the desktop's callbacks run inside it
    // anyway, but the browser's run between frames, and a recording must
    // place every event in the frame whose poll the game let it act in.
    if (event.kind == InputEvent::Kind::Close || !replaying()) {
        liveEvents_.push_back(event);
    }
}

void FrameInput::deliver(const InputEvent& event) {
    record(formatInputEvent(event));
    switch (event.kind) {
        case InputEvent::Kind::Key:
            keyCallback(host_.window(), event.key, event.scancode, event.action, event.mods);
            break;
        case InputEvent::Kind::MouseButton:
            mouseButtonCallback(host_.window(), event.button, event.action, event.mods);
            break;
        case InputEvent::Kind::Scroll:
            scrollCallback(host_.window(), event.xOffset, event.yOffset);
            break;
        case InputEvent::Kind::FramebufferSize:
            framebufferSizeCallback(host_.window(), event.width, event.height);
            break;
        case InputEvent::Kind::Close:
            host_.requestClose();
            break;
    }
}

void FrameInput::poll() {
    host_.pollEvents();
    deliverLiveEvents();
    // After the keys and clicks: what a pad's button stands for depends on
    // the screen they have left (South leaves a game-over screen that K
    // brought up in the same frame).
    pollPads();
    deliverLiveEvents();
    if (replaying()) {
        for (const InputEvent& event : source_->replay.frames[next_].events) {
            deliver(event);
        }
    }
}

void FrameInput::deliverLiveEvents() {
    for (const InputEvent& event : liveEvents_) {
        if (event.kind == InputEvent::Kind::Close) {
            record(formatInputEvent(event));  // the host has already set the close flag
        } else {
            deliver(event);
        }
    }
    liveEvents_.clear();
}

void FrameInput::pollPads() {
    for (int slot = 0; slot < kPadSlots; ++slot) {
        padReadings_[static_cast<std::size_t>(slot)] = host_.pad(slot);
    }
    for (const PadEvent& event : pads_.update(padReadings_, host_.now(), gameState)) {
        onLiveEvent(event.kind == PadEvent::Kind::Key
                        ? keyEvent(event.code, 0, event.action, 0)
                        : mouseButtonEvent(event.code, event.action, 0));
    }
}

CursorPosition FrameInput::cursor() {
    CursorPosition cursor;
    if (replaying()) {
        const std::optional<CursorPosition>& recorded = source_->replay.frames[next_].cursor;
        replayCursor_ = recorded.value_or(replayCursor_);
        cursor = replayCursor_;
    } else {
        cursor = host_.cursor();
    }
    if (recordedCursor_ != cursor) {
        record(formatCursor(cursor));
        recordedCursor_ = cursor;
    }
    return cursor;
}

void FrameInput::measureFrameTime(FrameClock& clock) {
    if (replaying() && source_->replay.frames[next_].gameFrame) {
        clock.useFrameTime(source_->replay.frames[next_].deltaTime);
    } else {
        if (takeOverTime_) {
            // The first live frame after a replay spans the time since it ended.
            clock.lastFrameTime = *takeOverTime_;
            takeOverTime_.reset();
        }
        clock.endGameFrame(static_cast<float>(host_.now()));
    }
    measuredTime_ = clock.frameTime;
}

std::optional<double> FrameInput::dueTime() const {
    if (!replaying() || source_->mode != ReplayMode::Watch || !source_->paced) {
        return std::nullopt;
    }
    const RecordedFrame& frame = source_->replay.frames[next_];
    if (!frame.gameFrame || frame.deltaTime <= 0.0f) {
        return std::nullopt;  // at the display's pace
    }
    return paceStart_ + paceSum_ + static_cast<double>(frame.deltaTime);
}

// A frame without a recorded time (the start screen, or a pause recorded
// before pauses kept their time) starts the sum afresh from now.
void FrameInput::pace(const RecordedFrame& frame) {
    if (frame.gameFrame && frame.deltaTime > 0.0f) {
        paceSum_ += static_cast<double>(frame.deltaTime);
    } else {
        paceStart_ = host_.now();
        paceSum_ = 0.0;
    }
}

bool FrameInput::isScreenshotFrame(bool gameFrame) const {
    return replaying() ? next_ + 1 == source_->replay.frames.size() : gameFrame;
}

bool FrameInput::endFrame(bool gameFrame) {
    RecordedFrame frame;
    frame.gameFrame = gameFrame;
    // A paused frame keeps the time it took, though the rules saw none.
    frame.deltaTime = gameFrame ? measuredTime_ : 0.0f;
    if (recorder_ != nullptr) {
        recorder_->writeFrame(formatFrameEnd(frame));
    }
    ++frameCount_;
    if (source_ && source_->mode == ReplayMode::Timedemo) {
        const Clock::time_point now = Clock::now();
        frameMilliseconds_.push_back(millisecondsBetween(lastFrameEnd_, now));
        lastFrameEnd_ = now;
    }
    if (!replaying()) {
        return true;
    }
    const Replay& replay = source_->replay;
    if (replay.frames[next_].gameFrame != gameFrame) {
        stopReplaying("is out of step at frame " + std::to_string(next_ + 1) + ": it recorded " +
                      (gameFrame ? "a start-screen frame" : "a game frame"));
        inStep_ = false;
        return !stopsWithTheFrames();
    }
    pace(replay.frames[next_]);
    if (++next_ < replay.frames.size()) {
        return true;
    }
    if (!replay.finished) {
        stopReplaying("was cut off: it stops after frame " + std::to_string(next_));
    } else {
        takeOverTime_ = static_cast<float>(host_.now());
    }
    return !stopsWithTheFrames();
}

void FrameInput::stopReplaying(const std::string& reason) {
    if (!host_.closing()) {
        printLine("Replay '" + source_->name + "' " + reason);
    }
    next_ = source_->replay.frames.size();
    takeOverTime_ = static_cast<float>(host_.now());
}

void FrameInput::record(const std::string& line) const {
    if (recorder_ != nullptr) {
        recorder_->write(line);
    }
}

void FrameInput::finish() {
    if (recorder_ != nullptr) {
        recorder_->finish(frameCount_);
    }
    if (source_ && source_->mode == ReplayMode::Timedemo) {
        printLine(timedemoReport(frameMilliseconds_,
                                 millisecondsBetween(started_, lastFrameEnd_) / 1000.0));
    }
}

std::string timedemoReport(const std::vector<double>& frameMilliseconds, double seconds) {
    std::vector<double> sorted = frameMilliseconds;
    std::sort(sorted.begin(), sorted.end());
    const auto percentile = [&sorted](double fraction) {
        if (sorted.empty()) {
            return 0.0;
        }
        // Nearest rank: the smallest time that at least `fraction` of the frames reach.
        const auto rank =
            static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(sorted.size())));
        return sorted[std::max<std::size_t>(rank, 1) - 1];
    };
    const double framesPerSecond =
        seconds > 0.0 ? static_cast<double>(sorted.size()) / seconds : 0.0;
    return "Timedemo: " + std::to_string(sorted.size()) + " frames in " + fixed(seconds, 3) +
           " s, " + fixed(framesPerSecond, 2) + " frames/s; frame times median " +
           fixed(percentile(0.5), 2) + " ms, 95th percentile " + fixed(percentile(0.95), 2) +
           " ms, worst " + fixed(sorted.empty() ? 0.0 : sorted.back(), 2) + " ms";
}
