// The mixer: each voice steps through its sample at its pitch with linear
// interpolation and adds itself, at its left and right gains, into the block.
//
// Positions and steps are 32.32 fixed point. A voice is mixed in stretches
// that end at a tick boundary, at the end of a gain ramp or at the sample's
// loop or end point, so the inner loop needs no end tests: the frames to the
// boundary are found by one division per stretch.
#include "music/mixer.h"

#include <algorithm>

#include "music/mix_frames.h"

namespace music {

namespace {

// Stand-in step for voices too slow to ever arrive anywhere (below 2^-27
// samples per frame): about 40 Hz at 48000 Hz.
constexpr std::uint32_t SLOWEST_STEP_FRACTION = 0x369D00;

// Every change of a gain target glides there over this many frames.
constexpr std::uint16_t RAMP_FRAMES = 128;

std::int64_t positionOf(const Voice& voice) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(voice.position)) << 32) |
                                     voice.positionFraction);
}

void setPosition(Voice& voice, std::int64_t position) {
    voice.position = static_cast<std::int32_t>(position >> 32);
    voice.positionFraction = static_cast<std::uint32_t>(position);
}

std::int64_t stepOf(const Voice& voice) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(voice.stepInteger)) << 32) |
                                     voice.stepFraction);
}

// Frames until the voice arrives at its next boundary (loop end, sample end
// or, moving backward, loop start); -1 when it is already past it.
std::int64_t framesToBoundary(Voice& voice) {
    const Sample& sample = *voice.sample;
    const std::int64_t position = positionOf(voice);
    const std::int64_t loopEnd = static_cast<std::int64_t>(sample.loopStart) + sample.loopLength;
    std::int64_t distance;
    if (voice.direction == 0) {
        const std::int64_t end = voice.position < loopEnd ? loopEnd : static_cast<std::int64_t>(sample.length);
        distance = (end << 32) - position;
    } else {
        distance = position - (static_cast<std::int64_t>(sample.loopStart) << 32);
    }
    if (distance < 0) return -1;

    // The division works on both values shifted right by 5, rounding up.
    std::int64_t step = stepOf(voice) >> 5;
    if (step == 0) {
        voice.stepFraction = SLOWEST_STEP_FRACTION;
        step = SLOWEST_STEP_FRACTION >> 5;
    }
    const std::int64_t shiftedDistance = distance >> 5;
    std::int64_t count = shiftedDistance / step + (shiftedDistance % step != 0 ? 1 : 0);
    // The shift can make the count one too large, so that the last frame
    // would read beyond the boundary (before the data, at a loop start of 0).
    if (count > 0 && (count - 1) * stepOf(voice) > distance) --count;
    return count;
}

void startRampIfTargetsChanged(Voice& voice) {
    const std::uint32_t key = (voice.leftTarget << 16) + voice.rightTarget;
    if (voice.rampFramesLeft != 0 && key == voice.rampKey) return;
    voice.rampKey = key;
    voice.rightRampStep = (static_cast<std::int32_t>(voice.rightTarget * 128) - voice.rightLevel) >> 7;
    voice.leftRampStep = (static_cast<std::int32_t>(voice.leftTarget * 128) - voice.leftLevel) >> 7;
    voice.rampFramesLeft = (voice.rightRampStep != 0 || voice.leftRampStep != 0) ? RAMP_FRAMES : 0;
}

// Adds `frames` frames of the voice into `out`, reading the sample between
// two boundaries.
void mixStretch(Voice& voice, std::int32_t* out, std::int64_t frames) {
    const std::uint64_t step = static_cast<std::uint64_t>(stepOf(voice));
    FrameRun run{voice.sample->data,
                 static_cast<std::uint64_t>(positionOf(voice)),
                 voice.direction == 0 ? step : ~step + 1,
                 voice.leftLevel,
                 voice.rightLevel,
                 voice.leftRampStep,
                 voice.rightRampStep};
    if (run.leftStep == 0 && run.rightStep == 0 && run.left == 0 && run.right == 0) {
        // A faded voice adds nothing; it only moves on (a replaced note
        // keeps going at level 0 until its sample ends or its slot is
        // reused).
        setPosition(voice, static_cast<std::int64_t>(run.position + run.advance * static_cast<std::uint64_t>(frames)));
        return;
    }
    mix_frames(run, out, frames);
    setPosition(voice, static_cast<std::int64_t>(run.position));
    voice.leftLevel = run.left;
    voice.rightLevel = run.right;
}

void mirrorAtEnd(Voice& voice, std::int32_t loopEnd) {
    voice.position = 2 * loopEnd - 1 - voice.position;
    voice.positionFraction = ~voice.positionFraction;
    voice.direction = 1;
}

void mirrorAtStart(Voice& voice, std::int32_t loopStart) {
    voice.position = 2 * loopStart - 1 - voice.position;
    voice.positionFraction = ~voice.positionFraction;
    voice.direction = 0;
}

// The voice has arrived at its boundary: loop, turn round, or stop.
void passBoundary(Voice& voice) {
    const Sample& sample = *voice.sample;
    const auto loopStart = static_cast<std::int32_t>(sample.loopStart);
    const auto loopLength = static_cast<std::int32_t>(sample.loopLength);
    const std::int32_t loopEnd = loopStart + loopLength;
    if (sample.loopType == LOOP_FORWARD && loopLength > 0) {
        if (voice.position > loopEnd) {
            voice.position = loopStart + (voice.position - loopEnd) % loopLength;
        } else {
            voice.position = std::max(voice.position - loopLength, 0);
        }
    } else if (sample.loopType == LOOP_PINGPONG && loopLength > 0) {
        if (voice.direction == 0) {
            mirrorAtEnd(voice, loopEnd);
            if (voice.position < loopStart) mirrorAtStart(voice, loopStart);
        } else {
            mirrorAtStart(voice, loopStart);
            if (voice.position - loopStart >= loopLength) mirrorAtEnd(voice, loopEnd);
        }
        // A turn exactly on a loop start of 0 lands one unit before it;
        // start from 0 instead of reading before the data.
        if (voice.position < 0) {
            voice.position = 0;
            voice.positionFraction = 0;
        }
    } else {
        voice.position = 0;
        voice.positionFraction = 0;
        voice.sample = nullptr;
    }
}

void mixVoice(Voice& voice, std::int32_t* out, std::int64_t frames) {
    while (voice.sample != nullptr) {
        const std::int64_t count = framesToBoundary(voice);
        if (count < 0) return;
        if (count > 0) {
            std::int64_t n = std::min(count, frames);
            startRampIfTargetsChanged(voice);
            const bool ramping = voice.rampFramesLeft != 0;
            if (ramping) n = std::min<std::int64_t>(n, voice.rampFramesLeft);
            mixStretch(voice, out, n);
            out += 2 * n;
            frames -= n;
            bool rampEnded = false;
            if (ramping) {
                voice.rampFramesLeft = static_cast<std::uint16_t>(voice.rampFramesLeft - n);
                if (voice.rampFramesLeft == 0) {
                    voice.rightRampStep = 0;
                    voice.leftRampStep = 0;
                    rampEnded = true;
                }
            }
            if (n < count) {
                if (rampEnded && frames > 0) continue;
                return;
            }
        }
        passBoundary(voice);
        if (frames == 0) return;
    }
}

}  // namespace

void mix_voices(Voice* voices, std::uint32_t voiceCount, std::int32_t* buffer, std::uint32_t frames) {
    for (std::uint32_t i = 0; i < voiceCount; ++i) mixVoice(voices[i], buffer, frames);
}

}  // namespace music
