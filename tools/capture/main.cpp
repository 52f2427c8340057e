// capture: renders the demo offscreen (no window, no sound, no pauses) and
// saves chosen frames as PNG files.
#include "app/frame.h"
#include "platform/platform.h"
#include "scene/scene_dump.h"
#include "tools/png_writer/png_writer.h"
#include "tools/capture/frame_pixels.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
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
    "       capture --state N\n"
    "Renders the demo offscreen, with no window, no sound and no pauses.\n"
    "\n"
    "  --frames LIST  write the frames numbered in LIST (numbers separated by\n"
    "                 commas, e.g. 0,700,1200) as DIR/frame_NNNNN.png, 600x600;\n"
    "                 frame n is the picture the demo presents at its n-th\n"
    "                 buffer swap, counted from 0\n"
    "  --out DIR      where the pictures go (default: the current directory);\n"
    "                 made if it does not exist\n"
    "  --state N      after N frames drawn and stepped, print every scene value\n"
    "                 as one 'name value' line\n"
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

// PNG colour type 6: 8-bit red, green, blue and alpha.
constexpr std::uint8_t PNG_RGBA = 6;

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::string framePath(const std::filesystem::path& directory, unsigned frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05u.png", frame);
    return (directory / name).string();
}

// The demo's frames, drawn offscreen one after another.
class Renderer {
public:
    bool open() {
        const platform::OpenResult opened = platform::openWindow("capture", FRAME_SIZE, FRAME_SIZE);
        if (opened.window == nullptr) {
            failure(opened.error != nullptr ? opened.error : "no offscreen OpenGL");
            return false;
        }
        window_ = opened.window;
        setUpGlState();
        loop_.musicStarted = 1;  // silent: the music counts as started already
        return true;
    }
    ~Renderer() {
        if (window_ != nullptr) platform::closeWindow(window_);
    }

    // Draws and steps the next frame; it stays readable until present().
    void draw() { drawFrame(scene_, loop_); }
    void present() { platform::swapBuffers(window_); }
    const Scene& scene() const { return scene_; }

private:
    platform::Window* window_ = nullptr;
    Scene scene_;
    LoopState loop_;
};

int writeFrames(const std::vector<unsigned>& frames, const std::filesystem::path& directory) {
    std::error_code madeError;
    std::filesystem::create_directories(directory, madeError);
    if (madeError) return failure("cannot make " + directory.string() + ": " + madeError.message());

    Renderer renderer;
    if (!renderer.open()) return EXIT_FAILED;
    auto wanted = frames.begin();
    for (unsigned frame = 0; wanted != frames.end(); ++frame) {
        renderer.draw();
        if (frame == *wanted) {
            const std::string path = framePath(directory, frame);
            if (!writeFile(path, pngwrite::encode_png(readFramePixels(), FRAME_SIZE, FRAME_SIZE, 8, PNG_RGBA)))
                return failure("cannot write " + path + ": " + std::strerror(errno));
            ++wanted;
        }
        renderer.present();
    }
    return EXIT_OK;
}

int printState(unsigned frames) {
    Renderer renderer;
    if (!renderer.open()) return EXIT_FAILED;
    for (unsigned frame = 0; frame < frames; ++frame) {
        renderer.draw();
        renderer.present();
    }
    dumpScene(renderer.scene(), stdout);
    return std::fflush(stdout) == 0 ? EXIT_OK : failure("cannot write the state");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<unsigned> frames;
    bool framesGiven = false;
    unsigned stateFrames = 0;
    bool stateGiven = false;
    std::filesystem::path directory = ".";
    bool directoryGiven = false;

    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(USAGE, stdout);
            return EXIT_OK;
        }
        if (option != "--frames" && option != "--out" && option != "--state")
            return usageError("unknown option '" + std::string(option) + "'");
        if (i + 1 >= argc) return usageError(std::string(option) + " needs a value");
        const std::string_view value = argv[++i];
        if (option == "--frames") {
            if (framesGiven) return usageError("--frames given twice");
            if (!parseFrameList(value, frames))
                return usageError("--frames wants numbers from 0 to " + std::to_string(MAX_FRAME) +
                                  " separated by commas, not '" + std::string(value) + "'");
            framesGiven = true;
        } else if (option == "--state") {
            if (stateGiven) return usageError("--state given twice");
            if (!parseFrameNumber(value, stateFrames))
                return usageError("--state wants a number from 0 to " + std::to_string(MAX_FRAME) + ", not '" +
                                  std::string(value) + "'");
            stateGiven = true;
        } else {
            directory = std::string(value);
            directoryGiven = true;
        }
    }
    if (framesGiven == stateGiven) return usageError("give either --frames or --state");
    if (stateGiven && directoryGiven) return usageError("--out goes with --frames");
    if (stateGiven) return printState(stateFrames);
    return writeFrames(frames, directory);
}
