// Looping PCM output through the waveOut device: one prepared buffer that the
// device plays in an endless hardware loop, and its play position in bytes.
#include <windows.h>
#include <mmsystem.h>

#include <new>

#include "platform/platform.h"

namespace platform {

struct PcmOutput {
    HWAVEOUT device;
    WAVEHDR header;
};

namespace {

constexpr WORD CHANNELS = 2;
constexpr WORD BITS = 16;
constexpr WORD FRAME_BYTES = CHANNELS * BITS / 8;

}  // namespace

PcmOutput* pcmOpen() {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = CHANNELS;
    format.nSamplesPerSec = PCM_RATE;
    format.nAvgBytesPerSec = PCM_RATE * FRAME_BYTES;
    format.nBlockAlign = FRAME_BYTES;
    format.wBitsPerSample = BITS;
    format.cbSize = 0;
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return nullptr;
    auto* output = new (std::nothrow) PcmOutput{device, {}};
    if (output == nullptr) waveOutClose(device);
    return output;
}

bool pcmStart(PcmOutput* output, const void* buffer, std::uint32_t bytes) {
    WAVEHDR& header = output->header;
    header = {};
    header.lpData = static_cast<LPSTR>(const_cast<void*>(buffer));
    header.dwBufferLength = bytes;
    header.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
    header.dwLoops = 0xFFFFFFFF;
    waveOutPrepareHeader(output->device, &header, sizeof header);
    return waveOutWrite(output->device, &header, sizeof header) == MMSYSERR_NOERROR;
}

std::uint32_t pcmPosition(PcmOutput* output) {
    MMTIME time{};
    time.wType = TIME_BYTES;
    waveOutGetPosition(output->device, &time, sizeof time);
    // A device may answer in another unit than the one asked for.
    switch (time.wType) {
    case TIME_SAMPLES:
        return time.u.sample * FRAME_BYTES;
    case TIME_MS:
        return static_cast<std::uint32_t>(std::uint64_t{time.u.ms} * PCM_RATE / 1000 * FRAME_BYTES);
    default:
        return time.u.cb;
    }
}

void pcmClose(PcmOutput* output) {
    waveOutReset(output->device);
    waveOutUnprepareHeader(output->device, &output->header, sizeof output->header);
    waveOutClose(output->device);
    delete output;
}

}  // namespace platform
