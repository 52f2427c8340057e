// A RIFF WAV file of 16-bit stereo PCM at the player's rate, written as it
// grows: the header's sizes are filled in when it is finished.
#pragma once

#include <cstdint>
#include <cstdio>

struct WavFile {
    std::FILE* file = nullptr;
    std::uint64_t dataBytes = 0;
    bool failed = false;
};

// Opens the file and writes a header for empty data; false when it cannot.
bool wav_open(WavFile& wav, const char* path);
// Appends frames (left, right, ...).
void wav_append(WavFile& wav, const std::int16_t* samples, std::uint64_t frames);
// Writes the final sizes and closes the file; false when any write failed
// or the data is too large for the format.
bool wav_finish(WavFile& wav);
