#include "tools/xmrender/pass_counter.h"

namespace {

// The position and every channel's pattern-loop row and counter.
std::string row_state(const music::ModulePlayer& player) {
    std::string key;
    auto put = [&key](std::uint32_t value) { key.append(reinterpret_cast<const char*>(&value), sizeof value); };
    put(static_cast<std::uint32_t>(player.order));
    put(static_cast<std::uint32_t>(player.row));
    for (std::int32_t c = 0; c < player.song.channelCount; ++c) {
        put(player.song.channels[c].loopRow);
        put(player.song.channels[c].loopCounter);
    }
    return key;
}

bool on_row(void* context, const music::ModulePlayer& player, bool restarted) {
    auto& counter = *static_cast<PassCounter*>(context);
    std::string state = row_state(player);
    if (restarted || counter.seen.count(state)) {
        if (counter.passesLeft == 0) {
            counter.ended = true;
            counter.endOrder = player.order;
            counter.endRow = player.row;
            return false;
        }
        --counter.passesLeft;
        counter.seen.clear();
    }
    counter.seen.insert(std::move(state));
    return true;
}

}  // namespace

void watch_passes(music::ModulePlayer& player, PassCounter& counter) {
    player.rowWatch = on_row;
    player.rowWatchContext = &counter;
}
