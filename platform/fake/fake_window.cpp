#include "platform/fake/fake_window.h"

#include "platform/platform.h"

#include <algorithm>
#include <deque>

namespace platform {

struct Window {
    bool quitPosted;
};

namespace {

struct Arrival {
    fake::Event event;
    unsigned afterSwaps;
};

struct Script {
    std::deque<Arrival> queue;  // ordered by arrival
    std::string trace;
    unsigned swaps = 0;
    bool failOpen = false;
    bool open = false;
};

Script script;

char letter(fake::Event event) {
    switch (event) {
        case fake::Event::EscapeKey: return 'E';
        case fake::Event::Close: return 'C';
        case fake::Event::OtherKey: return 'K';
        case fake::Event::MouseMove: return 'M';
    }
    return '?';
}

}  // namespace

namespace fake {

void reset() { script = Script{}; }

void queueEvent(Event event, unsigned afterSwaps) {
    auto later = std::find_if(script.queue.begin(), script.queue.end(),
                              [&](const Arrival& queued) { return queued.afterSwaps > afterSwaps; });
    script.queue.insert(later, Arrival{event, afterSwaps});
}

void failNextOpen() { script.failOpen = true; }

const std::string& trace() { return script.trace; }

bool windowOpen() { return script.open; }

}  // namespace fake

OpenResult openWindow(const char*, int, int) {
    if (script.failOpen) {
        script.failOpen = false;
        return {nullptr, 1, "cannot open a display: the fake has none"};
    }
    script.open = true;
    return {new Window{false}, 0, nullptr};
}

Message takeMessage(Window* window) {
    if (!script.queue.empty() && script.queue.front().afterSwaps <= script.swaps) {
        const fake::Event event = script.queue.front().event;
        script.queue.pop_front();
        script.trace += letter(event);
        if (event == fake::Event::EscapeKey || event == fake::Event::Close) window->quitPosted = true;
        return {MessageKind::Other, 0};
    }
    if (window->quitPosted) {
        window->quitPosted = false;
        script.trace += 'Q';
        return {MessageKind::Quit, 0};
    }
    script.trace += '-';
    return {MessageKind::None, 0};
}

void swapBuffers(Window*) {
    ++script.swaps;
    script.trace += '|';
}

void closeWindow(Window* window) {
    script.open = false;
    delete window;
}

}  // namespace platform
