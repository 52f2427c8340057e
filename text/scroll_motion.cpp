#include "text/scroll_motion.h"

namespace {

void stepScroll(ScrollTextState& state, const ScrollTextMotion& motion) {
    if (state.startDelay > 0.0f) {
        state.startDelay = static_cast<float>(state.startDelay - motion.delayStep);
        return;
    }
    state.startDelay = 0.0f;
    // The wrap frame only jumps back; the next frame moves left again.
    const double move = state.scrollCountdown >= 0.0f ? -motion.scrollStep : motion.wrapDistance;
    state.scrollX = static_cast<float>(state.scrollX + move);
    state.scrollCountdown = static_cast<float>(state.scrollCountdown + move);
}

}  // namespace

void stepScrollText(ScrollTextState& state, const ScrollTextMotion& motion) {
    stepScroll(state, motion);
    // All countdowns first, so a group whose countdown ran out moves this frame.
    for (const WaveGroupMembers& group : waveGroups) {
        if (state.*group.phase == 0) {
            float& timer = state.*group.timer;
            timer = static_cast<float>(timer - motion.timerStep);
            if (timer <= 0.0f) {
                state.*group.phase = 1;
            }
        }
    }
    for (const WaveGroupMembers& group : waveGroups) {
        motion.wave.step(state.*group.offset, state.*group.speed, state.*group.phase);
    }
    motion.rock.step(state.rockAngle, state.rockSpeed, state.rockPhase);
    motion.sway.step(state.swayX, state.swaySpeed, state.swayPhase);
}
