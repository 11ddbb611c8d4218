#include "audio/al_objects.h"

AlBuffer makeAlBuffer() {
    alGetError();
    ALuint name = 0;
    alGenBuffers(1, &name);
    return alGetError() == AL_NO_ERROR ? AlBuffer(name) : AlBuffer();
}

AlSource makeAlSource() {
    alGetError();
    ALuint name = 0;
    alGenSources(1, &name);
    return alGetError() == AL_NO_ERROR ? AlSource(name) : AlSource();
}
