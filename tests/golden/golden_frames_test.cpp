// Whole frames from the capture program, compared with the pictures kept in
// this folder. After a deliberate change to what the demo draws, run
// tools/update_golden, look at the new pictures and commit them.
#include "image/png_image.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Keep in step with tools/update_golden.
constexpr unsigned FRAMES[] = {0, 400, 700, 1200, 1500, 3000, 6000};

// llvmpipe draws these frames to the same bytes whatever its thread count or
// vector width; the slack is for another Mesa or CPU rounding a few edge
// pixels by a step or two. A misplaced flake or glyph changes more pixels
// than this allows.
constexpr int CHANNEL_TOLERANCE = 2;
constexpr double DIFFERING_FRACTION = 0.0005;

struct Picture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgba;
    std::string error;  // empty when the picture was read
};

Picture readPicture(const std::filesystem::path& path) {
    Picture picture;
    PngImage* image = png_new_from_file(path.string().c_str());
    if (image == nullptr) {
        picture.error = "out of memory";
        return picture;
    }
    if (const PngError error = png_decode(image); error != PngError::None) {
        picture.error = "decoder error " + std::to_string(static_cast<std::uint32_t>(error));
    } else if (png_get_format(image) != PngFormat::Rgba8) {
        picture.error = "not 8-bit RGBA";
    } else {
        picture.width = png_get_width(image);
        picture.height = png_get_height(image);
        picture.rgba.assign(png_get_buffer(image), png_get_buffer(image) + png_get_size(image));
    }
    png_free(image);
    return picture;
}

struct Difference {
    std::size_t differingPixels = 0;
    int largestStep = 0;
};

Difference compare(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    Difference difference;
    for (std::size_t pixel = 0; pixel + 4 <= a.size(); pixel += 4) {
        int largest = 0;
        for (std::size_t channel = pixel; channel < pixel + 4; ++channel) {
            largest = std::max(largest, std::abs(int{a[channel]} - int{b[channel]}));
        }
        if (largest > CHANNEL_TOLERANCE) ++difference.differingPixels;
        difference.largestStep = std::max(difference.largestStep, largest);
    }
    return difference;
}

bool offscreenGlAvailable(std::string& why) {
    const platform::OpenResult opened = platform::openWindow("golden test", 16, 16);
    if (opened.window == nullptr) {
        why = opened.error != nullptr ? opened.error : "";
        return false;
    }
    platform::closeWindow(opened.window);
    return true;
}

int run(const std::string& command) {
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(GoldenFrames, CaptureDrawsTheKeptPictures) {
    std::string why;
    if (!offscreenGlAvailable(why)) GTEST_SKIP() << "no offscreen OpenGL: " << why;

    const std::filesystem::path fresh = std::filesystem::temp_directory_path() / "whitepine_golden_frames";
    std::filesystem::remove_all(fresh);
    std::string list;
    for (const unsigned frame : FRAMES) {
        if (!list.empty()) list += ',';
        list += std::to_string(frame);
    }
    ASSERT_EQ(run(std::string(CAPTURE_PROGRAM) + " --frames " + list + " --out " + fresh.string()), 0);

    for (const unsigned frame : FRAMES) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%05u.png", frame);
        SCOPED_TRACE(name);
        const Picture kept = readPicture(std::filesystem::path(GOLDEN_FOLDER) / name);
        const Picture drawn = readPicture(fresh / name);
        ASSERT_EQ(kept.error, "");
        ASSERT_EQ(drawn.error, "");
        ASSERT_EQ(drawn.width, kept.width);
        ASSERT_EQ(drawn.height, kept.height);

        const Difference difference = compare(kept.rgba, drawn.rgba);
        const std::size_t allowed =
            static_cast<std::size_t>(DIFFERING_FRACTION * static_cast<double>(kept.width * kept.height));
        EXPECT_LE(difference.differingPixels, allowed)
            << "largest step " << difference.largestStep << "; compare " << (fresh / name).string();
    }
    if (!HasFailure()) std::filesystem::remove_all(fresh);
}

}  // namespace
