// Move-only owners of OpenAL objects: the device, the context, buffers and
// sources.
//
// An OpenAL name or handle is a plain value, so a copyable struct holding one
// would release it twice or leak it. Each owner here holds exactly one,
// cannot be copied, leaves an empty source behind when moved and releases
// what it holds when it goes. Buffers and sources must go while their
// context is current, before the context; the context before its device.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <utility>

template <typename Handle, typename Release>
class AlOwner {
  public:
    AlOwner() = default;
    explicit AlOwner(Handle handle) : handle_(handle) {}
    ~AlOwner() { reset(); }

    AlOwner(const AlOwner&) = delete;
    AlOwner& operator=(const AlOwner&) = delete;
    AlOwner(AlOwner&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    AlOwner& operator=(AlOwner&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Handle{});
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }

    // Releases the owned object now (if any) and leaves this owner empty.
    void reset() {
        if (handle_ != Handle{}) {
            Release{}(handle_);
            handle_ = Handle{};
        }
    }

  private:
    Handle handle_{};
};

struct AlDeviceRelease {
    void operator()(ALCdevice* device) const { alcCloseDevice(device); }
};
// A context is never destroyed while current: none is made current first.
struct AlContextRelease {
    void operator()(ALCcontext* context) const {
        if (alcGetCurrentContext() == context) {
            alcMakeContextCurrent(nullptr);
        }
        alcDestroyContext(context);
    }
};
struct AlBufferRelease {
    void operator()(ALuint name) const { alDeleteBuffers(1, &name); }
};
// A playing source is stopped (and its buffer let go) before it is deleted.
struct AlSourceRelease {
    void operator()(ALuint name) const {
        alSourceStop(name);
        alSourcei(name, AL_BUFFER, 0);
        alDeleteSources(1, &name);
    }
};

using AlDevice = AlOwner<ALCdevice*, AlDeviceRelease>;
using AlContext = AlOwner<ALCcontext*, AlContextRelease>;
using AlBuffer = AlOwner<ALuint, AlBufferRelease>;
using AlSource = AlOwner<ALuint, AlSourceRelease>;

// One new buffer or source in the current context; empty when OpenAL refused.
AlBuffer makeAlBuffer();
AlSource makeAlSource();
