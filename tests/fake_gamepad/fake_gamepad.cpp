// A gamepad for the real game binary on a machine without one: preloaded
// (LD_PRELOAD) into the game by the end-to-end tests, it makes GLFW's Linux
// joystick code find one evdev pad, a common USB controller that GLFW's
// built-in mappings know, and feeds it the input events the test writes.
//
// FAKE_GAMEPAD_DIR names a folder holding a named pipe "event0". GLFW lists
// /dev/input (here: that folder), opens /dev/input/event0 (here: the pipe),
// asks it what it is with ioctls (answered here) and reads struct
// input_event records from it (the test's). Everything else goes to the C
// library untouched. The pad exists from the start of the process; GLFW
// looks for pads once, so there is no plugging in later.
//
// GLFW re-reads every axis with EVIOCGABS after each SYN_REPORT, so the
// axis values that pass through are kept here; and an empty pipe whose
// writer has gone reads as "try again", as an idle device would.
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/input.h>
#include <stdarg.h>
#include <string.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

constexpr const char* kDeviceFolder = "/dev/input";
constexpr const char* kDevicePath = "/dev/input/event0";

int padFd = -1;
int axisValues[ABS_CNT] = {};

template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

const char* fakeFolder() {
    return std::getenv("FAKE_GAMEPAD_DIR");
}

void setBit(unsigned char* bits, int bit) {
    bits[bit / 8] = static_cast<unsigned char>(bits[bit / 8] | (1u << (bit % 8)));
}

// EVIOCGBIT(type): which event types, keys and axes the pad has.
void answerBits(int type, unsigned char* bits, std::size_t size) {
    memset(bits, 0, size);
    if (type == 0) {
        setBit(bits, EV_SYN);
        setBit(bits, EV_KEY);
        setBit(bits, EV_ABS);
    } else if (type == EV_KEY) {
        for (int key : {BTN_A, BTN_B, BTN_X, BTN_Y, BTN_TL, BTN_TR, BTN_SELECT, BTN_START, BTN_MODE,
                        BTN_THUMBL, BTN_THUMBR}) {
            setBit(bits, key);
        }
    } else if (type == EV_ABS) {
        for (int axis : {ABS_X, ABS_Y, ABS_Z, ABS_RX, ABS_RY, ABS_RZ, ABS_HAT0X, ABS_HAT0Y}) {
            setBit(bits, axis);
        }
    }
}

void answerAxis(int axis, input_absinfo* info) {
    memset(info, 0, sizeof *info);
    info->value = axisValues[axis];
    const bool hat = axis == ABS_HAT0X || axis == ABS_HAT0Y;
    const bool trigger = axis == ABS_Z || axis == ABS_RZ;
    info->minimum = hat ? -1 : trigger ? 0 : -32768;
    info->maximum = hat ? 1 : trigger ? 255 : 32767;
}

int answerIoctl(unsigned long request, void* argument) {
    if (_IOC_TYPE(request) != 'E') {
        errno = ENOTTY;
        return -1;
    }
    const unsigned number = _IOC_NR(request);
    const std::size_t size = _IOC_SIZE(request);
    if (number == _IOC_NR(EVIOCGID)) {
        input_id* id = static_cast<input_id*>(argument);
        *id = input_id{BUS_USB, 0x045e, 0x028e, 0x0110};
    } else if (number == _IOC_NR(EVIOCGNAME(0))) {
        strncpy(static_cast<char*>(argument), "Fake Gamepad", size);
    } else if (number >= 0x20 && number < 0x20 + EV_CNT) {
        answerBits(static_cast<int>(number - 0x20), static_cast<unsigned char*>(argument), size);
    } else if (number >= 0x40 && number < 0x40 + ABS_CNT) {
        answerAxis(static_cast<int>(number - 0x40), static_cast<input_absinfo*>(argument));
    } else {
        errno = EINVAL;
        return -1;
    }
    return 0;
}

}  // namespace

extern "C" {

DIR* opendir(const char* name) {
    static const auto next = real<DIR* (*)(const char*)>("opendir");
    if (fakeFolder() != nullptr && strcmp(name, kDeviceFolder) == 0) {
        return next(fakeFolder());
    }
    return next(name);
}

int open(const char* path, int flags, ...) {
    static const auto next = real<int (*)(const char*, int, ...)>("open");
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    if (fakeFolder() != nullptr && strcmp(path, kDevicePath) == 0) {
        const std::string pipe = std::string(fakeFolder()) + "/event0";
        padFd = next(pipe.c_str(), O_RDONLY | O_NONBLOCK);
        return padFd;
    }
    return next(path, flags, mode);
}

int ioctl(int fd, unsigned long request, ...) {
    static const auto next = real<int (*)(int, unsigned long, ...)>("ioctl");
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    if (fd >= 0 && fd == padFd) {
        return answerIoctl(request, argument);
    }
    return next(fd, request, argument);
}

ssize_t read(int fd, void* buffer, size_t count) {
    static const auto next = real<ssize_t (*)(int, void*, size_t)>("read");
    const ssize_t result = next(fd, buffer, count);
    if (fd < 0 || fd != padFd) {
        return result;
    }
    if (result == 0) {
        errno = EAGAIN;  // no writer: an idle device, not the end of one
        return -1;
    }
    if (result == static_cast<ssize_t>(sizeof(input_event))) {
        const input_event* event = static_cast<const input_event*>(buffer);
        if (event->type == EV_ABS && event->code < ABS_CNT) {
            axisValues[event->code] = event->value;
        }
    }
    return result;
}

int close(int fd) {
    static const auto next = real<int (*)(int)>("close");
    if (fd >= 0 && fd == padFd) {
        padFd = -1;
    }
    return next(fd);
}

}  // extern "C"
