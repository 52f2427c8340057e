// capture: renders the demo offscreen (no window, no sound, no pauses) and
// saves chosen frames as PNG files.
#include "app/frame.h"
#include "platform/platform.h"
#include "tools/capture/frame_pixels.h"
#include "tools/capture/png_file.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;

// About two and a half hours of the demo at its full pace.
constexpr unsigned MAX_FRAME = 1000000;

const char* const USAGE =
    "usage: capture --frames LIST [--out DIR]\n"
    "Renders the demo offscreen, with no window, no sound and no pauses, and writes\n"
    "the frames numbered in LIST as DIR/frame_NNNNN.png (600x600). Frame n is the\n"
    "picture the demo presents at its n-th buffer swap, counted from 0.\n"
    "\n"
    "  --frames LIST  frame numbers separated by commas, e.g. 0,700,1200\n"
    "  --out DIR      where the pictures go (default: the current directory);\n"
    "                 made if it does not exist\n"
    "  --help         show this help\n"
    "\n"
    "Run it from the project's root folder, where the pictures in RC/ are found.\n"
    "Exit status: 0 done, 1 failure, 2 wrong usage.\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "capture: %s (see capture --help)\n", message.c_str());
    return EXIT_USAGE;
}

int failure(const std::string& message) {
    std::fprintf(stderr, "capture: %s\n", message.c_str());
    return EXIT_FAILED;
}

bool parseFrameNumber(std::string_view text, unsigned& number) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc{} && end == text.data() + text.size() && number <= MAX_FRAME;
}

// "0,700,1200" -> {0, 700, 1200}, sorted, without repeats.
bool parseFrameList(std::string_view text, std::vector<unsigned>& frames) {
    for (;;) {
        const std::size_t comma = text.find(',');
        unsigned number = 0;
        if (!parseFrameNumber(text.substr(0, comma), number)) return false;
        frames.push_back(number);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return true;
}

std::string framePath(const std::filesystem::path& directory, unsigned frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05u.png", frame);
    return (directory / name).string();
}

int writeFrames(const std::vector<unsigned>& frames, const std::filesystem::path& directory) {
    std::error_code madeError;
    std::filesystem::create_directories(directory, madeError);
    if (madeError) return failure("cannot make " + directory.string() + ": " + madeError.message());

    const platform::OpenResult opened = platform::openWindow("capture", FRAME_SIZE, FRAME_SIZE);
    if (opened.window == nullptr) return failure(opened.error != nullptr ? opened.error : "no OpenGL");
    setUpGlState();

    LoopState loop;
    loop.musicStarted = 1;  // silent: the music counts as started already

    int status = EXIT_OK;
    auto wanted = frames.begin();
    for (unsigned frame = 0; wanted != frames.end(); ++frame) {
        drawFrame(loop);
        if (frame == *wanted) {
            const std::string path = framePath(directory, frame);
            std::string error;
            if (!writeRgbPng(path, readFramePixels(), FRAME_SIZE, FRAME_SIZE, error)) {
                status = failure("cannot write " + path + ": " + error);
                break;
            }
            ++wanted;
        }
        platform::swapBuffers(opened.window);
    }
    platform::closeWindow(opened.window);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<unsigned> frames;
    bool framesGiven = false;
    std::filesystem::path directory = ".";

    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(USAGE, stdout);
            return EXIT_OK;
        }
        if (option != "--frames" && option != "--out") return usageError("unknown option " + std::string(option));
        if (i + 1 >= argc) return usageError(std::string(option) + " needs a value");
        const std::string_view value = argv[++i];
        if (option == "--frames") {
            if (framesGiven) return usageError("--frames given twice");
            if (!parseFrameList(value, frames))
                return usageError("--frames wants numbers from 0 to " + std::to_string(MAX_FRAME) +
                                  " separated by commas, not '" + std::string(value) + "'");
            framesGiven = true;
        } else {
            directory = std::string(value);
        }
    }
    if (!framesGiven) return usageError("nothing to do: give --frames");
    return writeFrames(frames, directory);
}
