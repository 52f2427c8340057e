// xmplay: plays an XM module through the demo's player in a terminal, with
// its position, time and levels, and keys to steer it.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "music/player.h"
#include "platform/platform.h"
#include "platform/terminal.h"

namespace {

constexpr const char* USAGE = "usage: xmplay SONG\n";

constexpr const char* HELP =
    "Plays an XM module through the sound device, looping, with the demo's player.\n"
    "\n"
    "  SONG    an XM file, or @ID for raw-data resource ID of this program\n"
    "          (@100 is the demo's song)\n"
    "  --help  show this text\n"
    "\n"
    "Keys: space pauses or resumes, + and - change the volume (0..25),\n"
    "left and right jump to the previous or next order, q quits.\n";

constexpr unsigned REFRESH_MS = 200;
constexpr int METER_WIDTH = 32;
constexpr double METER_FLOOR_DB = -48.0;
constexpr std::uint32_t TOP_VOLUME = 25;

// A bar for a mean absolute sample, on a decibel scale from the floor to full scale.
std::string meter(std::uint32_t level) {
    int filled = 0;
    if (level > 0) {
        const double db = 20.0 * std::log10(level / 32767.0);
        filled = static_cast<int>(std::lround((db - METER_FLOOR_DB) / -METER_FLOOR_DB * METER_WIDTH));
        if (filled < 0) filled = 0;
        if (filled > METER_WIDTH) filled = METER_WIDTH;
    }
    return std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(METER_WIDTH - filled), '.');
}

struct Status {
    std::uint32_t volume = TOP_VOLUME;
    bool paused = false;
};

void show(const Status& status, bool inPlace) {
    const std::uint32_t position = music::player_get_position();
    const std::uint32_t levels = music::player_get_levels();
    const std::uint32_t ms = music::player_get_time();
    char line[160];
    std::snprintf(line, sizeof line, "order %3u  row %3u   %2u:%02u.%u   volume %2u/%u%s",
                  position >> 16, position & 0xFFFF, ms / 60000, ms / 1000 % 60, ms / 100 % 10, status.volume,
                  TOP_VOLUME, status.paused ? "   paused" : "");
    if (inPlace) {
        // Back to the first of the three status lines and over them.
        std::printf("\x1b[3A\r%s\x1b[K\nL %s\x1b[K\nR %s\x1b[K\n", line, meter(levels >> 16).c_str(),
                    meter(levels & 0xFFFF).c_str());
    } else {
        std::printf("%s\n", line);
    }
    std::fflush(stdout);
}

bool soundDeviceAvailable() {
    platform::PcmOutput* probe = platform::pcmOpen();
    if (probe == nullptr) return false;
    platform::pcmClose(probe);
    return true;
}

// Starts the song; on failure says why on stderr and returns false.
bool start(const char* song) {
    int resource = 0;
    if (song[0] == '@') {
        char* end = nullptr;
        errno = 0;
        const long id = std::strtol(song + 1, &end, 10);
        if (end == song + 1 || *end != '\0' || errno != 0 || id < 1 || id > 65535) {
            std::fprintf(stderr, "xmplay: %s is not a resource id (@1..@65535)\n", song);
            return false;
        }
        if (platform::findResource(static_cast<int>(id)).data == nullptr) {
            std::fprintf(stderr, "xmplay: this program has no resource %ld\n", id);
            return false;
        }
        resource = static_cast<int>(id);
    } else {
        std::FILE* file = std::fopen(song, "rb");
        if (file == nullptr) {
            std::fprintf(stderr, "xmplay: cannot open %s: %s\n", song, std::strerror(errno));
            return false;
        }
        std::fclose(file);
    }
    if (!soundDeviceAvailable()) {
        std::fputs("xmplay: no sound device\n", stderr);
        return false;
    }
    const bool playing = resource != 0 ? music::player_play(resource, 0, 0) != nullptr
                                       : music::player_play(song, 0, music::PLAY_FROM_FILE) != nullptr;
    if (playing) return true;
    std::fprintf(stderr, "xmplay: cannot play %s: not a module this player takes\n", song);
    return false;
}

void steer(platform::Key key, Status& status) {
    if (key.kind == platform::Key::Left || key.kind == platform::Key::Right) {
        const auto order = static_cast<int>(music::player_get_position() >> 16);
        const int target = key.kind == platform::Key::Right ? order + 1 : (order > 0 ? order - 1 : 0);
        music::player_jump_to_order(static_cast<std::uint16_t>(target));
        return;
    }
    if (key.kind != platform::Key::Character) return;
    switch (key.character) {
        case ' ':
            status.paused = !status.paused;
            status.paused ? music::player_pause() : music::player_resume();
            break;
        case '+':
        case '=':
            if (status.volume < TOP_VOLUME) music::player_set_volume(++status.volume);
            break;
        case '-':
        case '_':
            if (status.volume > 0) music::player_set_volume(--status.volume);
            break;
        default:
            break;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const char* song = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(USAGE, stdout);
            std::fputs(HELP, stdout);
            return 0;
        }
        if ((arg.size() > 1 && arg[0] == '-') || song != nullptr) {
            std::fprintf(stderr, "xmplay: unexpected argument %s\n%s", argv[i], USAGE);
            return 2;
        }
        song = argv[i];
    }
    if (song == nullptr) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    if (!start(song)) return 1;

    const bool inPlace = platform::outputIsTerminal();
    const bool keys = platform::beginKeyInput();
    std::printf("%s\n", music::player_get_song_name());
    std::printf(keys ? "space pause  +/- volume  left/right order  q quit\n"
                     : "keys need a terminal on standard input; q and Enter quits\n");
    if (inPlace) std::printf("\n\n\n");
    Status status;
    unsigned sinceShown = 0;
    for (;;) {
        const platform::Key key = platform::waitForKey(REFRESH_MS);
        if (key.kind == platform::Key::Interrupt) break;
        if (key.kind == platform::Key::Character && (key.character == 'q' || key.character == 'Q')) break;
        steer(key, status);
        // In place a few times a second; to a file or pipe once a second.
        sinceShown += REFRESH_MS;
        if (inPlace || key.kind != platform::Key::None || sinceShown >= 1000) {
            show(status, inPlace);
            sinceShown = 0;
        }
    }
    platform::endKeyInput();
    music::player_stop();
    return 0;
}
