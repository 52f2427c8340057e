// Motion state of one scrolling text (the greetings line or the dancing text)
// and its start values. Plain data for the Scene to hold; the step that moves
// it is in text/scroll_motion.h, the drawing in text/scroll_text_draw.h.
#pragma once

#include <array>

// One text's motion. The member order is fixed (it is the order in memory and
// in the state dumps): letter groups are numbered 1 to 10, glyph i belongs to
// group (i mod 10) + 1, and the per-group members run from group 10 down to 1.
struct ScrollTextState {
    float swaySpeed;
    int swayPhase;
    float rockSpeed;
    int rockPhase;

    float waveSpeed10;
    float waveSpeed9;
    float waveSpeed8;
    float waveSpeed7;
    float waveSpeed6;
    float waveSpeed5;
    float waveSpeed4;
    float waveSpeed3;
    float waveSpeed2;
    float waveSpeed1;

    float waveTimer10;
    int wavePhase10;
    float waveTimer9;
    int wavePhase9;
    float waveTimer8;
    int wavePhase8;
    float waveTimer7;
    int wavePhase7;
    float waveTimer6;
    int wavePhase6;
    float waveTimer5;
    int wavePhase5;
    float waveTimer4;
    int wavePhase4;
    float waveTimer3;
    int wavePhase3;
    float waveTimer2;
    int wavePhase2;
    float waveTimer1;
    int wavePhase1;

    float scrollCountdown;
    float startDelay;

    float waveOffset10;
    float waveOffset9;
    float waveOffset8;
    float waveOffset7;
    float waveOffset6;
    float waveOffset5;
    float waveOffset4;
    float waveOffset3;
    float waveOffset2;
    float rockAngle;
    float waveOffset1;

    float scrollX;
    float textY;
    float swayX;
};

inline constexpr int SCROLL_TEXT_GROUPS = 10;

// The members of letter group g live at waveGroups[g - 1].
struct WaveGroupMembers {
    float ScrollTextState::*speed;
    float ScrollTextState::*timer;
    int ScrollTextState::*phase;
    float ScrollTextState::*offset;
};

inline constexpr std::array<WaveGroupMembers, SCROLL_TEXT_GROUPS> waveGroups{{
    {&ScrollTextState::waveSpeed1, &ScrollTextState::waveTimer1, &ScrollTextState::wavePhase1,
     &ScrollTextState::waveOffset1},
    {&ScrollTextState::waveSpeed2, &ScrollTextState::waveTimer2, &ScrollTextState::wavePhase2,
     &ScrollTextState::waveOffset2},
    {&ScrollTextState::waveSpeed3, &ScrollTextState::waveTimer3, &ScrollTextState::wavePhase3,
     &ScrollTextState::waveOffset3},
    {&ScrollTextState::waveSpeed4, &ScrollTextState::waveTimer4, &ScrollTextState::wavePhase4,
     &ScrollTextState::waveOffset4},
    {&ScrollTextState::waveSpeed5, &ScrollTextState::waveTimer5, &ScrollTextState::wavePhase5,
     &ScrollTextState::waveOffset5},
    {&ScrollTextState::waveSpeed6, &ScrollTextState::waveTimer6, &ScrollTextState::wavePhase6,
     &ScrollTextState::waveOffset6},
    {&ScrollTextState::waveSpeed7, &ScrollTextState::waveTimer7, &ScrollTextState::wavePhase7,
     &ScrollTextState::waveOffset7},
    {&ScrollTextState::waveSpeed8, &ScrollTextState::waveTimer8, &ScrollTextState::wavePhase8,
     &ScrollTextState::waveOffset8},
    {&ScrollTextState::waveSpeed9, &ScrollTextState::waveTimer9, &ScrollTextState::wavePhase9,
     &ScrollTextState::waveOffset9},
    {&ScrollTextState::waveSpeed10, &ScrollTextState::waveTimer10, &ScrollTextState::wavePhase10,
     &ScrollTextState::waveOffset10},
}};

// What differs between the two texts' start states: the group countdowns
// (group 1 first), the distance to the first wrap and the line's height.
struct ScrollTextStart {
    std::array<float, SCROLL_TEXT_GROUPS> waveTimers;
    float scrollCountdown;
    float textY;
};

inline constexpr ScrollTextStart GREETINGS_START{
    {1.0f, 1.12f, 1.24f, 1.36f, 1.48f, 1.6f, 1.72f, 1.84f, 1.96f, 2.08f}, 78.3f, 0.77f};
inline constexpr ScrollTextStart DANCING_START{
    {1.0f, 1.2f, 1.4f, 1.6f, 1.8f, 2.0f, 2.2f, 2.4f, 2.6f, 2.8f}, 166.45f, -0.28f};

// Both texts wait the same 0.59 before scrolling and start rocked to +17 degrees.
constexpr ScrollTextState makeScrollTextState(const ScrollTextStart& start) {
    ScrollTextState state{};
    for (int g = 0; g < SCROLL_TEXT_GROUPS; ++g) {
        state.*waveGroups[g].timer = start.waveTimers[g];
    }
    state.scrollCountdown = start.scrollCountdown;
    state.startDelay = 0.59f;
    state.rockAngle = 17.0f;
    state.textY = start.textY;
    return state;
}

static_assert(sizeof(ScrollTextState) == 50 * 4, "fifty 32-bit members, no padding");
