// Test controls for the fake window backend: a window without GL whose
// message queue is filled by a script, and a trace of what the program did.
#pragma once

#include <string>

namespace platform::fake {

enum class Event {
    EscapeKey,  // posts the quit message
    Close,      // the window's close button: posts the quit message
    OtherKey,   // swallowed
    MouseMove,  // handled by default processing
};

// Forgets every queued event and the trace; the next openWindow succeeds.
void reset();

// Queues `event`; it arrives once `afterSwaps` frames have been presented.
// Events arriving together are taken in the order they were queued.
void queueEvent(Event event, unsigned afterSwaps = 0);

// Makes the next openWindow fail as a system without a display would.
void failNextOpen();

// One character per call into the backend, in order:
//   '-' takeMessage found the queue empty     '|' swapBuffers
//   'E' 'C' 'K' 'M' an event was taken         'Q' the quit message was taken
const std::string& trace();

bool windowOpen();

}  // namespace platform::fake
