#include "tools/xmrender/wav.h"

#include "platform/platform.h"

namespace {

constexpr std::uint32_t CHANNELS = 2, BYTES_PER_SAMPLE = 2, HEADER_BYTES = 44;
constexpr std::uint64_t MAX_DATA_BYTES = 0xFFFFFFFFull - (HEADER_BYTES - 8);

void put16(std::uint8_t*& out, std::uint32_t value) {
    *out++ = static_cast<std::uint8_t>(value);
    *out++ = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::uint8_t*& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void put_tag(std::uint8_t*& out, const char* tag) {
    for (int i = 0; i < 4; ++i) *out++ = static_cast<std::uint8_t>(tag[i]);
}

bool write_header(WavFile& wav) {
    std::uint8_t header[HEADER_BYTES];
    std::uint8_t* out = header;
    const auto dataBytes = static_cast<std::uint32_t>(wav.dataBytes);
    put_tag(out, "RIFF");
    put32(out, HEADER_BYTES - 8 + dataBytes);
    put_tag(out, "WAVE");
    put_tag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, CHANNELS);
    put32(out, platform::PCM_RATE);
    put32(out, platform::PCM_RATE * CHANNELS * BYTES_PER_SAMPLE);
    put16(out, CHANNELS * BYTES_PER_SAMPLE);
    put16(out, BYTES_PER_SAMPLE * 8);
    put_tag(out, "data");
    put32(out, dataBytes);
    return std::fseek(wav.file, 0, SEEK_SET) == 0 && std::fwrite(header, 1, sizeof header, wav.file) == sizeof header;
}

}  // namespace

bool wav_open(WavFile& wav, const char* path) {
    wav = WavFile{std::fopen(path, "wb"), 0, false};
    return wav.file && write_header(wav);
}

void wav_append(WavFile& wav, const std::int16_t* samples, std::uint64_t frames) {
    std::uint8_t bytes[4096];
    std::uint64_t count = frames * CHANNELS;
    while (count > 0) {
        std::uint64_t chunk = count < sizeof bytes / 2 ? count : sizeof bytes / 2;
        std::uint8_t* out = bytes;
        for (std::uint64_t i = 0; i < chunk; ++i) put16(out, static_cast<std::uint16_t>(*samples++));
        if (std::fwrite(bytes, 2, chunk, wav.file) != chunk) wav.failed = true;
        wav.dataBytes += chunk * 2;
        count -= chunk;
    }
}

bool wav_finish(WavFile& wav) {
    bool ok = !wav.failed && wav.dataBytes <= MAX_DATA_BYTES && write_header(wav);
    return std::fclose(wav.file) == 0 && ok;
}
