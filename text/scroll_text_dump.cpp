#include "text/scroll_text_dump.h"

#include <string>

#include "scene/scene_dump.h"
#include "text/scroll_text.h"

void dumpScrollText(std::FILE* out, const char* textName, const ScrollTextState& state) {
    const std::string prefix = std::string(textName) + ".";
    const char* p = prefix.c_str();
    dumpFloat(out, p, "swaySpeed", state.swaySpeed);
    dumpInt(out, p, "swayPhase", state.swayPhase);
    dumpFloat(out, p, "rockSpeed", state.rockSpeed);
    dumpInt(out, p, "rockPhase", state.rockPhase);
    for (int g = SCROLL_TEXT_GROUPS; g >= 1; --g) {
        const std::string member = "waveSpeed" + std::to_string(g);
        dumpFloat(out, p, member.c_str(), state.*waveGroups[g - 1].speed);
    }
    for (int g = SCROLL_TEXT_GROUPS; g >= 1; --g) {
        const std::string timer = "waveTimer" + std::to_string(g);
        const std::string phase = "wavePhase" + std::to_string(g);
        dumpFloat(out, p, timer.c_str(), state.*waveGroups[g - 1].timer);
        dumpInt(out, p, phase.c_str(), state.*waveGroups[g - 1].phase);
    }
    dumpFloat(out, p, "scrollCountdown", state.scrollCountdown);
    dumpFloat(out, p, "startDelay", state.startDelay);
    for (int g = SCROLL_TEXT_GROUPS; g >= 2; --g) {
        const std::string member = "waveOffset" + std::to_string(g);
        dumpFloat(out, p, member.c_str(), state.*waveGroups[g - 1].offset);
    }
    dumpFloat(out, p, "rockAngle", state.rockAngle);
    dumpFloat(out, p, "waveOffset1", state.waveOffset1);
    dumpFloat(out, p, "scrollX", state.scrollX);
    dumpFloat(out, p, "textY", state.textY);
    dumpFloat(out, p, "swayX", state.swayX);
}
