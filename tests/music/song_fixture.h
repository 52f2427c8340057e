// Builds modules in code with the XM writer and loads them into a player of
// their own, for the engine's tests.
#pragma once

#include <memory>
#include <vector>

#include "music/module_player.h"
#include "tools/xm_writer/xm_writer.h"

// A module with `channels` channels, one pattern of `rows` empty rows, order
// list {0}, speed 6, BPM 125, linear periods, and one instrument holding one
// looped 8-bit sample of 64 values (volume 64, panning 128) for every note.
XmModule basic_module(int channels = 1, int rows = 64);

XmCell& cell(XmModule& module, int row, int channel, int pattern = 0);

// A player with its own heap; the song stays loaded until it goes.
struct LoadedSong {
    std::unique_ptr<music::ModulePlayer> player = std::make_unique<music::ModulePlayer>();
    std::vector<std::uint8_t> bytes;

    LoadedSong();
    ~LoadedSong();
    LoadedSong(const LoadedSong&) = delete;
    LoadedSong& operator=(const LoadedSong&) = delete;

    // Loads the bytes through the memory source.
    bool load(std::vector<std::uint8_t> data);
    bool load(const XmModule& module) { return load(xm_write(module)); }

    music::Song& song() { return player->song; }
    music::Channel& channel(int index) { return player->song.channels[index]; }
    // Runs whole ticks of the sequencer (no mixing).
    void ticks(int count);
    // Runs the ticks of whole rows at the current speed.
    void rows(int count);
};
