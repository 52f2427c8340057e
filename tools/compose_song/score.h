// "Whitepine Nocturne", the demo's own song: a winter piece in D minor at
// 120 BPM, written as patterns of the instruments in instruments.h.
#pragma once

#include "tools/xm_writer/xm_writer.h"

#include <cstdint>
#include <vector>

inline constexpr int WHITEPINE_CHANNELS = 10;
inline constexpr int WHITEPINE_SPEED = 6;
inline constexpr int WHITEPINE_RESTART = 1;

// One entry of the order list as the piece means it to be heard.
struct OrderPlan {
    uint8_t pattern;
    int rowsHeard;  // rows played, counting repeats of a pattern loop
    int bpm;
};

const std::vector<OrderPlan>& whitepine_plan();

// Output frames at 48000 Hz from the first row to the end of the order list.
int64_t whitepine_length_frames();

XmModule compose_whitepine();
