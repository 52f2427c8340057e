// A sound device whose play position a test moves by hand.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/fake/fake_pcm.h"
#include "platform/platform.h"

namespace platform {

struct PcmOutput {};

namespace {

struct FakeDevice {
    std::mutex lock;
    std::condition_variable positionRead;
    PcmOutput output;
    bool open = false;
    bool refuse = false;
    unsigned openCount = 0;
    const std::int16_t* buffer = nullptr;
    std::uint32_t position = 0;
    unsigned readsOfPosition = 0;  // reads since the position last moved
};

FakeDevice device;

}  // namespace

PcmOutput* pcmOpen() {
    std::lock_guard guard(device.lock);
    if (device.refuse || device.open) return nullptr;
    device.open = true;
    ++device.openCount;
    device.buffer = nullptr;
    device.position = 0;
    return &device.output;
}

bool pcmStart(PcmOutput*, const void* buffer, std::uint32_t) {
    std::lock_guard guard(device.lock);
    device.buffer = static_cast<const std::int16_t*>(buffer);
    return true;
}

std::uint32_t pcmPosition(PcmOutput*) {
    std::lock_guard guard(device.lock);
    ++device.readsOfPosition;
    device.positionRead.notify_all();
    return device.position;
}

void pcmClose(PcmOutput*) {
    std::lock_guard guard(device.lock);
    device.open = false;
    device.buffer = nullptr;
    device.positionRead.notify_all();
}

namespace fake {

void pcmReset() {
    std::lock_guard guard(device.lock);
    device.open = false;
    device.refuse = false;
    device.openCount = 0;
    device.buffer = nullptr;
    device.position = 0;
}

void pcmRefuseOpen(bool refuse) {
    std::lock_guard guard(device.lock);
    device.refuse = refuse;
}

bool pcmIsOpen() {
    std::lock_guard guard(device.lock);
    return device.open;
}

unsigned pcmOpenCount() {
    std::lock_guard guard(device.lock);
    return device.openCount;
}

const std::int16_t* pcmBuffer() {
    std::lock_guard guard(device.lock);
    return device.buffer;
}

bool pcmPlayTo(std::uint32_t bytes) {
    std::unique_lock guard(device.lock);
    device.position = bytes;
    device.readsOfPosition = 0;
    return device.positionRead.wait_for(guard, std::chrono::seconds(5),
                                        [] { return device.readsOfPosition >= 2 || !device.open; }) &&
           device.open;
}

}  // namespace fake

}  // namespace platform
