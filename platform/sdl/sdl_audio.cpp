// Looping PCM output on an SDL2 audio device: the device's callback copies
// the loop buffer from the play cursor on and counts the bytes it took.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/platform.h"

namespace platform {

struct PcmOutput {
    SDL_AudioDeviceID device = 0;
    const Uint8* buffer = nullptr;  // set under the device lock
    std::uint32_t bytes = 0;
    std::uint32_t played = 0;  // bytes taken, under the device lock
};

namespace {

void SDLCALL feed(void* context, Uint8* stream, int length) {
    auto* output = static_cast<PcmOutput*>(context);
    auto wanted = static_cast<std::uint32_t>(length);
    if (output->buffer == nullptr) {
        std::memset(stream, 0, wanted);
        return;
    }
    std::uint32_t cursor = output->played % output->bytes;
    while (wanted > 0) {
        const std::uint32_t count = std::min(wanted, output->bytes - cursor);
        std::memcpy(stream, output->buffer + cursor, count);
        stream += count;
        wanted -= count;
        cursor = (cursor + count) % output->bytes;
    }
    output->played += static_cast<std::uint32_t>(length);
}

}  // namespace

PcmOutput* pcmOpen() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
    auto* output = new (std::nothrow) PcmOutput;
    if (output == nullptr) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(PCM_RATE);
    wanted.format = AUDIO_S16LSB;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = feed;
    wanted.userdata = output;
    // No changes allowed: SDL converts to whatever the hardware wants.
    output->device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (output->device == 0) {
        delete output;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    return output;
}

bool pcmStart(PcmOutput* output, const void* buffer, std::uint32_t bytes) {
    if (output == nullptr || buffer == nullptr || bytes == 0) return false;
    SDL_LockAudioDevice(output->device);
    output->buffer = static_cast<const Uint8*>(buffer);
    output->bytes = bytes;
    output->played = 0;
    SDL_UnlockAudioDevice(output->device);
    SDL_PauseAudioDevice(output->device, 0);
    return true;
}

// Read under the device lock, which the callback holds while it copies: so
// the player's refill of a block comes after the copy that last read it, and
// its writes come before the copy that reads them.
std::uint32_t pcmPosition(PcmOutput* output) {
    SDL_LockAudioDevice(output->device);
    const std::uint32_t played = output->played;
    SDL_UnlockAudioDevice(output->device);
    return played;
}

void pcmClose(PcmOutput* output) {
    if (output == nullptr) return;
    SDL_CloseAudioDevice(output->device);
    delete output;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace platform
