// The tone on OpenAL: one buffer holding the wave's samples and one source playing
// it. OpenAL mixes on a thread of its own, so a play returns at once and the tone
// goes on while the window is in the background. Without an audio device every call
// is without effect.
#include <AL/al.h>
#include <AL/alc.h>
#include <algorithm>

#include "toolkit/qt/qt_inspect.h"
#include "toolkit/qt/qt_services.h"
#include "toolkit/qt/wave.h"
#include "toolkit/toolkit.h"

namespace {

struct Sound {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    ALuint buffer = 0;
    ALuint source = 0;
    int toneRate = 0;   // the tone's own samples per second
    int playRate = 0;   // as last asked for; 0 while none was
};
Sound sound;

ALenum formatOf(const toolkit::qt::WaveSound& wave)
{
    if (wave.channels == 1) {
        return wave.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    }
    return wave.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

// The sample is played faster or slower: pitch and length both follow the rate.
void applyPlayRate()
{
    if (sound.source != 0 && sound.playRate > 0) {
        alSourcef(sound.source, AL_PITCH, static_cast<ALfloat>(sound.playRate) / static_cast<ALfloat>(sound.toneRate));
    }
}

void releaseTone()
{
    if (sound.source != 0) {
        alSourceStop(sound.source);
        alDeleteSources(1, &sound.source);
        sound.source = 0;
    }
    if (sound.buffer != 0) {
        alDeleteBuffers(1, &sound.buffer);
        sound.buffer = 0;
    }
}

} // namespace

namespace toolkit {

void startSound()
{
    if (sound.device != nullptr) {
        return;
    }
    sound.device = alcOpenDevice(nullptr);
    if (sound.device == nullptr) {
        return;
    }
    sound.context = alcCreateContext(sound.device, nullptr);
    if (sound.context == nullptr || alcMakeContextCurrent(sound.context) == ALC_FALSE) {
        qt::releaseSound();
    }
}

void loadTone(std::span<const std::uint8_t> wave)
{
    if (sound.context == nullptr) {
        return;
    }
    const std::optional<qt::WaveSound> tone = qt::readWave(wave);
    if (!tone) {
        return;
    }
    releaseTone();
    alGetError(); // forget any earlier error: the next check is about this tone
    alGenBuffers(1, &sound.buffer);
    alBufferData(sound.buffer, formatOf(*tone), tone->samples.data(), static_cast<ALsizei>(tone->samples.size()),
                 tone->samplesPerSecond);
    alGenSources(1, &sound.source);
    alSourcei(sound.source, AL_BUFFER, static_cast<ALint>(sound.buffer));
    // No spatial effect: the source sits on the listener, which never moves.
    alSourcei(sound.source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(sound.source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcei(sound.source, AL_LOOPING, AL_FALSE);
    if (alGetError() != AL_NO_ERROR) {
        releaseTone();
        return;
    }
    sound.toneRate = tone->samplesPerSecond;
    applyPlayRate();
}

void setToneRate(int samplesPerSecond)
{
    if (samplesPerSecond > 0) {
        sound.playRate = samplesPerSecond;
        applyPlayRate();
    }
}

void playTone(int volume)
{
    if (sound.source == 0) {
        return;
    }
    // 100 is full level; 25 is a quarter of the amplitude, 12 dB down.
    alSourcef(sound.source, AL_GAIN, static_cast<ALfloat>(std::clamp(volume, 0, 100)) / 100.0f);
    // A playing source starts again from its first sample: never two at once.
    alSourcePlay(sound.source);
}

namespace qt {

void releaseSound()
{
    releaseTone();
    if (sound.context != nullptr) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(sound.context);
    }
    if (sound.device != nullptr) {
        alcCloseDevice(sound.device);
    }
    sound = Sound{};
}

} // namespace qt

} // namespace toolkit

bool toolkit::qt_inspect::audioDevice()
{
    return sound.device != nullptr;
}

unsigned toolkit::qt_inspect::toneSource()
{
    return sound.source;
}

unsigned toolkit::qt_inspect::toneBuffer()
{
    return sound.buffer;
}
