#include "tests/music/song_fixture.h"

XmModule basic_module(int channels, int rows) {
    XmModule module;
    module.name = "test";
    module.channels = static_cast<std::uint16_t>(channels);
    module.orders = {0};
    XmPattern pattern;
    pattern.rows = static_cast<std::uint16_t>(rows);
    pattern.cells.resize(static_cast<std::size_t>(rows * channels));
    module.patterns.push_back(pattern);
    XmSample sample;
    for (int i = 0; i < 64; ++i) sample.pcm.push_back(static_cast<std::int16_t>(i < 32 ? 100 : -100));
    sample.loopType = XM_LOOP_FORWARD;
    sample.loopStart = 0;
    sample.loopLength = 64;
    XmInstrument instrument;
    instrument.samples.push_back(sample);
    module.instruments.push_back(instrument);
    return module;
}

XmCell& cell(XmModule& module, int row, int channel, int pattern) {
    return module.patterns[static_cast<std::size_t>(pattern)].cells[static_cast<std::size_t>(row * module.channels + channel)];
}

LoadedSong::LoadedSong() {
    player->heap = platform::heapCreate();
}

LoadedSong::~LoadedSong() {
    platform::heapDestroy(player->heap);
}

bool LoadedSong::load(std::vector<std::uint8_t> data) {
    bytes = std::move(data);
    player->source = music::MEMORY_SOURCE;
    player->sourceBase = bytes.data();
    player->sourceSize = static_cast<std::int32_t>(bytes.size());
    player->readPosition = 0;
    player->masterVolume = music::UNITY_VOLUME;
    const bool loaded = music::load_song(*player);
    player->source.close(*player);
    return loaded;
}

void LoadedSong::ticks(int count) {
    for (int i = 0; i < count; ++i) music::sequencer_tick(*player);
}

void LoadedSong::rows(int count) {
    for (int i = 0; i < count; ++i) {
        music::sequencer_tick(*player);
        while (player->tick != 0) music::sequencer_tick(*player);
    }
}
