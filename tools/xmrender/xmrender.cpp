// xmrender: plays an XM module offline through the player's own block fill
// and writes exactly the blocks it produced to a WAV file.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "music/master_volume.h"
#include "music/module_player.h"
#include "tools/xmrender/pass_counter.h"
#include "tools/xmrender/wav.h"

namespace {

constexpr const char* USAGE =
    "usage: xmrender [--loops N | --seconds S] [--volume L] [--max-seconds M] SONG OUT.wav\n";

constexpr const char* HELP =
    "Renders an XM module to a 16-bit stereo 48000 Hz WAV file with the player's own mixing.\n"
    "\n"
    "  SONG            an XM file, or @ID for raw-data resource ID of this program\n"
    "  OUT.wav         the WAV file to write\n"
    "  --loops N       play the song once and then N more passes (default 0); a return to\n"
    "                  the restart position or to a row already played ends a pass\n"
    "  --seconds S     render exactly S seconds, looping as the demo does\n"
    "  --volume L      master volume level 0..25 (default 25, unity)\n"
    "  --max-seconds M stop any render after M seconds (default 3600)\n"
    "  --help          show this text\n";

struct Options {
    long loops = 0;
    bool loopsGiven = false;
    double seconds = -1;
    long volume = 25;
    double maxSeconds = 3600;
    const char* song = nullptr;
    const char* out = nullptr;
};

bool parse_number(const char* text, double lowest, double highest, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value >= lowest && value <= highest;
}

// 0 when the options are usable, else the exit code.
int parse(int argc, char** argv, Options& options) {
    std::vector<const char*> positional;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help") {
            std::fputs(USAGE, stdout);
            std::fputs(HELP, stdout);
            std::exit(0);
        }
        double value = 0;
        auto number = [&](double lowest, double highest) {
            if (i + 1 >= argc || !parse_number(argv[++i], lowest, highest, value)) {
                std::fprintf(stderr, "xmrender: %s wants a number from %g to %g\n", arg.c_str(), lowest, highest);
                return false;
            }
            return true;
        };
        if (arg == "--loops") {
            if (!number(0, 1000000)) return 2;
            options.loops = static_cast<long>(value);
            options.loopsGiven = true;
        } else if (arg == "--seconds") {
            if (!number(0, 1e7)) return 2;
            options.seconds = value;
        } else if (arg == "--volume") {
            if (!number(0, 25)) return 2;
            options.volume = static_cast<long>(value);
        } else if (arg == "--max-seconds") {
            if (!number(0, 1e7)) return 2;
            options.maxSeconds = value;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            std::fprintf(stderr, "xmrender: unknown option %s\n%s", arg.c_str(), USAGE);
            return 2;
        } else {
            positional.push_back(argv[i]);
        }
    }
    if (options.loopsGiven && options.seconds >= 0) {
        std::fprintf(stderr, "xmrender: --loops and --seconds exclude each other\n%s", USAGE);
        return 2;
    }
    if (positional.size() != 2) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    options.song = positional[0];
    options.out = positional[1];
    return 0;
}

// Points the player's source at the song: a file, or @ID, a resource of this
// program. Null when it can be read, else why not.
const char* choose_source(music::ModulePlayer& player, const char* song) {
    if (song[0] == '@') {
        char* end = nullptr;
        long id = std::strtol(song + 1, &end, 10);
        if (end == song + 1 || *end != '\0' || id < 0 || id > 65535) return "not a resource id";
        if (!music::use_resource(player, static_cast<int>(id))) return "this program has no such resource";
        return nullptr;
    }
    platform::File* file = platform::fileOpen(song);
    if (!file) return std::strerror(errno);
    platform::fileClose(file);
    player.source = music::FILE_SOURCE;
    player.sourcePath = song;
    return nullptr;
}

void show_progress(double fraction, double seconds) {
    constexpr int WIDTH = 40;
    const int filled = static_cast<int>(fraction * WIDTH + 0.5);
    std::fprintf(stderr, "\r[%-*.*s] %7.1f s", WIDTH, filled, "########################################", seconds);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (int status = parse(argc, argv, options)) return status;

    auto player = std::make_unique<music::ModulePlayer>();
    if (const char* why = choose_source(*player, options.song)) {
        std::fprintf(stderr, "xmrender: cannot read %s: %s\n", options.song, why);
        return 1;
    }
    player->heap = platform::heapCreate();
    if (!player->heap) {
        std::fputs("xmrender: out of memory\n", stderr);
        return 1;
    }
    const bool loaded = music::load_song(*player);
    player->source.close(*player);
    if (!loaded) {
        std::fprintf(stderr, "xmrender: %s is not a module this player can play\n", options.song);
        platform::heapDestroy(player->heap);
        return 1;
    }
    player->masterVolume = music::master_volume_gain(static_cast<std::uint32_t>(options.volume));

    PassCounter counter;
    counter.passesLeft = options.loops;
    const bool timed = options.seconds >= 0;
    if (!timed) watch_passes(*player, counter);
    const double rate = platform::PCM_RATE;
    const auto maxFrames = static_cast<std::uint64_t>(options.maxSeconds * rate);
    const std::uint64_t wanted = timed ? std::min(static_cast<std::uint64_t>(options.seconds * rate + 0.5), maxFrames) : maxFrames;
    const bool tty = isatty(2);

    WavFile wav;
    if (!wav_open(wav, options.out)) {
        std::fprintf(stderr, "xmrender: cannot write %s: %s\n", options.out, std::strerror(errno));
        platform::heapDestroy(player->heap);
        return 1;
    }
    std::uint64_t frames = 0;
    const auto start = std::chrono::steady_clock::now();
    for (unsigned blocks = 0; frames < wanted && music::fill_block(*player); ++blocks) {
        const std::uint32_t block = (player->fillBlock + music::BLOCK_COUNT - 1) % music::BLOCK_COUNT;
        const std::int16_t* out = player->output + block * music::BLOCK_FRAMES * 2;
        const std::uint64_t take = std::min<std::uint64_t>(music::BLOCK_FRAMES, wanted - frames);
        wav_append(wav, out, take);
        frames += take;
        if (tty && blocks % 64 == 0) {
            const double fraction = timed ? static_cast<double>(frames) / static_cast<double>(std::max<std::uint64_t>(wanted, 1))
                                          : static_cast<double>(player->order) / player->song.length;
            show_progress(fraction, static_cast<double>(frames) / rate);
        }
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (tty) std::fputs("\r\033[K", stderr);
    platform::heapDestroy(player->heap);

    if (!wav_finish(wav)) {
        std::fprintf(stderr, "xmrender: cannot write %s: %s\n", options.out, std::strerror(errno));
        return 1;
    }

    const double seconds = static_cast<double>(frames) / rate;
    std::string how;
    if (counter.ended)
        how = ", ended where pass " + std::to_string(options.loops + 2) + " would begin (order " +
              std::to_string(counter.endOrder) + ", row " + std::to_string(counter.endRow) + ")";
    else if (player->songEnded) how = ", song ended";
    else if (!timed || frames >= maxFrames) how = ", stopped at the --max-seconds cap";
    const music::Song& song = player->song;
    std::printf("\"%s\": %d channels, %u patterns, %u instruments, %.2f s rendered, %.0fx realtime%s\n",
                song.name, song.channelCount, song.patternCount, song.instrumentCount, seconds,
                wall > 0 ? seconds / wall : 0.0, how.c_str());
    return 0;
}
