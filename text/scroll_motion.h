// The per-frame motion shared by both scrolling texts, driven by a record of
// each text's constants: the scroll (after a start delay, with a wrap), the
// wave that runs through the ten letter groups, the rock of every glyph and
// the sway of the whole line.
#pragma once

#include "scene/eased_oscillator.h"
#include "scene/swing.h"
#include "text/dancing_text.h"
#include "text/glyph_row.h"
#include "text/greetings_text.h"
#include "text/scroll_text.h"

struct ScrollTextMotion {
    double delayStep;     // taken off startDelay each frame until it is used up
    double scrollStep;    // leftward move per frame once scrolling
    double wrapDistance;  // the jump back right when scrollCountdown has run out
    double timerStep;     // taken off each waiting group's countdown per frame
    EasedOscillator wave;  // each started group's waveOffset; phase 0 waits
    Swing rock;            // rockAngle of every glyph
    EasedOscillator sway;  // swayX of the whole line
};

inline constexpr Swing TEXT_ROCK{0.01, 0.57f, 17.0f};

inline constexpr ScrollTextMotion GREETINGS_MOTION{
    0.001,
    0.015,
    wrapDistance(GREETINGS_ROW, GREETINGS_GLYPH_COUNT),
    0.01,
    {-0.12f, -0.09f, -0.06f, -0.03f, 0.0f, 0.0001, OscillatorOrder::FallingFirst, 1},
    TEXT_ROCK,
    {-0.28f, -0.21f, -0.14f, -0.07f, 0.0f, 0.00024, OscillatorOrder::FallingFirst, 0},
};

inline constexpr ScrollTextMotion DANCING_MOTION{
    0.001,
    0.02,
    wrapDistance(DANCING_ROW, DANCING_GLYPH_COUNT),
    0.01,
    {-0.24f, -0.18f, -0.12f, -0.06f, 0.0f, 0.0001, OscillatorOrder::FallingFirst, 1},
    TEXT_ROCK,
    {-0.56f, -0.42f, -0.28f, -0.14f, 0.0f, 0.00024, OscillatorOrder::FallingFirst, 0},
};

static_assert(GREETINGS_MOTION.wrapDistance == 78.3);
static_assert(DANCING_MOTION.wrapDistance == 166.45);
static_assert(GREETINGS_START.scrollCountdown == static_cast<float>(GREETINGS_MOTION.wrapDistance));
static_assert(DANCING_START.scrollCountdown == static_cast<float>(DANCING_MOTION.wrapDistance));

// One frame of motion, run after the text has been drawn.
void stepScrollText(ScrollTextState& state, const ScrollTextMotion& motion);
