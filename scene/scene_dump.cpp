#include "scene/scene_dump.h"

#include <string>

#include "scene/scene.h"
#include "text/scroll_text_dump.h"

namespace {

void dumpSnowflake(std::FILE* out, const std::string& prefix, const Snowflake& flake) {
    const char* p = prefix.c_str();
    dumpFloat(out, p, "gustSpeed", flake.gustSpeed);
    dumpInt(out, p, "gustPhase", flake.gustPhase);
    dumpFloat(out, p, "alpha", flake.alpha);
    dumpFloat(out, p, "spinZ", flake.spinZ);
    dumpFloat(out, p, "spinY", flake.spinY);
    dumpFloat(out, p, "spinX", flake.spinX);
    dumpFloat(out, p, "fall", flake.fall);
    dumpFloat(out, p, "drift", flake.drift);
    dumpFloat(out, p, "xBase", flake.xBase);
}

template <int N>
void dumpSnowGroup(std::FILE* out, int group, const SnowGroup<N>& snow) {
    const std::string name = "snow" + std::to_string(group);
    for (int c = 3; c >= 1; --c) {
        const std::string prefix = name + ".channel" + std::to_string(c) + ".";
        dumpFloat(out, prefix.c_str(), "speed", snow.channel(c).speed);
        dumpInt(out, prefix.c_str(), "phase", snow.channel(c).phase);
    }
    for (int k = N; k >= 1; --k) {
        dumpSnowflake(out, name + ".flake" + std::to_string(k) + ".", snow.flake(k));
    }
}

void dumpLogo(std::FILE* out, const Logo& logo) {
    const char* p = "logo.";
    dumpFloat(out, p, "ySpeed", logo.ySpeed);
    dumpInt(out, p, "yPhase", logo.yPhase);
    dumpFloat(out, p, "xSpeed", logo.xSpeed);
    dumpInt(out, p, "xPhase", logo.xPhase);
    dumpFloat(out, p, "halfHeightSpeed", logo.halfHeightSpeed);
    dumpInt(out, p, "halfHeightPhase", logo.halfHeightPhase);
    dumpFloat(out, p, "halfWidthSpeed", logo.halfWidthSpeed);
    dumpInt(out, p, "halfWidthPhase", logo.halfWidthPhase);
    dumpFloat(out, p, "angleSpeed", logo.angleSpeed);
    dumpInt(out, p, "anglePhase", logo.anglePhase);
    dumpFloat(out, p, "halfHeight", logo.halfHeight);
    dumpFloat(out, p, "halfWidth", logo.halfWidth);
    dumpFloat(out, p, "angle", logo.angle);
    dumpFloat(out, p, "y", logo.y);
    dumpFloat(out, p, "x", logo.x);
}

}  // namespace

void dumpFloat(std::FILE* out, const char* prefix, const char* member, float value) {
    std::fprintf(out, "%s%s %.9g\n", prefix, member, static_cast<double>(value));
}

void dumpInt(std::FILE* out, const char* prefix, const char* member, long long value) {
    std::fprintf(out, "%s%s %lld\n", prefix, member, value);
}

void dumpScene(const Scene& scene, std::FILE* out) {
    dumpFloat(out, "", "overlaySpeed", scene.overlaySpeed);
    dumpInt(out, "", "overlayPhase", scene.overlayPhase);
    dumpFloat(out, "", "flashAlpha", scene.flashAlpha);
    dumpFloat(out, "", "gradientBottomAlpha", scene.gradientBottomAlpha);
    dumpFloat(out, "", "gradientTopAlpha", scene.gradientTopAlpha);
    dumpSnowGroup(out, 1, scene.snow1);
    dumpSnowGroup(out, 2, scene.snow2);
    dumpSnowGroup(out, 3, scene.snow3);
    dumpLogo(out, scene.logo);
    dumpScrollText(out, "greetings", scene.greetings);
    dumpScrollText(out, "dancing", scene.dancing);
    for (std::size_t entry = 0; entry < assets::TEXTURE_COUNT; ++entry) {
        dumpInt(out, "textures.", std::to_string(entry).c_str(), scene.textures[entry]);
    }
    dumpInt(out, "", "texturesLoaded", scene.texturesLoaded);
}
