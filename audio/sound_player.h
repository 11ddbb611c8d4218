// The game's sounds on one OpenAL device: every effect rendered once into a
// buffer, and a fixed pool of sources to play them on.
//
// Created once at start-up (the synthesis and all buffer and source creation
// happen there); play() then only picks a source and starts it, so a frame
// that plays costs a few OpenAL calls and no allocation. When every source is
// busy the one started longest ago is taken over. The player owns the device
// and its context; the context is current for the player's whole life.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/al_objects.h"
#include "audio/effects.h"

class SoundPlayer {
  public:
    static constexpr std::size_t kSourceCount = 8;

    // Makes a context on `device` (extra context attributes, zero-ended, or
    // null), renders every effect into a buffer and makes the sources. Null
    // when any step fails; nothing is printed.
    static std::unique_ptr<SoundPlayer> create(AlDevice device,
                                               const ALCint* contextAttributes = nullptr);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Starts `effect` now; `pitch` > 1 plays it faster and higher.
    void play(Effect effect, float pitch = 1.0f);

    ALCdevice* device() const { return device_.get(); }

  private:
    SoundPlayer() = default;
    std::size_t pickSource() const;

    // Declared in release order's reverse: sources, then buffers, then the
    // context, then the device go.
    AlDevice device_;
    AlContext context_;
    std::array<AlBuffer, kEffectCount> buffers_;
    std::array<AlSource, kSourceCount> sources_;
    std::array<std::uint64_t, kSourceCount> startedAt_{};  // play count at each source's last start
    std::uint64_t plays_ = 0;
};

// An effect's samples as the 16-bit mono PCM its buffer holds.
std::vector<ALshort> effectPcm(Effect effect);
