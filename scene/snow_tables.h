// Every snowflake's own constants, group by group, flake 1 first. Amounts
// added per frame are doubles; values a flake is compared with are floats,
// so that tests compare like with like in single precision.
#pragma once

#include <limits>
#include <span>

struct FlakeConstants {
    float halfSize;
    float xBaseStart;
    float fallStart;
    float alphaStart;
    float alphaAfterReset;
    int channel;  // drift channel 1-3 the flake sways with
    double spinX, spinY, spinZ;  // degrees per frame
    double fallStep;
    double fadeStep;  // alpha lost per frame once below the window
    float resetBelow;  // fall at or below which the flake starts again at the top
};

inline constexpr float NO_CAP = std::numeric_limits<float>::infinity();

// The gust cycle: phases 0 and 2 speed up to their max, 1 and 3 slow down to their min.
struct GustConstants {
    float max0;
    double up0;
    float min1;
    double down1;
    float max2;
    double up2;
    float min3;
    double down3;
    // The speed-up phases add only while the speed is at most their cap.
    float cap0 = NO_CAP;
    float cap2 = NO_CAP;
    // Whether the speed drops to 0 on entering phase 2 and phase 0.
    bool stopsAtTurns = false;
};

// Alpha changes of flake k of every group at the hand-overs of drift channel c:
// first[c - 1] on leaving rise-accelerate (undone on leaving fall-brake),
// second[c - 1] on leaving rise-brake (undone on leaving fall-accelerate).
struct TwinkleConstants {
    double first[3];
    double second[3];
};

struct SnowGroupConstants {
    std::span<const FlakeConstants> flakes;
    std::span<const GustConstants> gusts;
};

// Constants of group 1, 2 or 3.
const SnowGroupConstants& snowGroupConstants(int group);

// Row k - 1 belongs to flake k; groups 2 and 3 use the first 13 and 10 rows.
extern const TwinkleConstants SNOW_TWINKLE[20];
