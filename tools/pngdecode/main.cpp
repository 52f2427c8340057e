// pngdecode: decodes PNG files with the demo's decoder and prints one
// tab-separated row per file (error, detail, size, format, SHA-256 of the
// pixels), optionally with the best of N timed decodes from memory.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/png_image.h"
#include "tools/pngdecode/decode_row.h"

namespace {

const char* const USAGE =
    "usage: pngdecode [--repeat N] FILE...\n"
    "Decodes each PNG file and prints a header line and one row per file:\n"
    "file, error code, detail number, width, height, format code and the\n"
    "SHA-256 of the decoded pixels ('-' when there are none), tab-separated.\n"
    "  --repeat N  also decode each file N times from memory and add the\n"
    "              column best_us: the fastest decode in microseconds\n"
    "  --help      show this text\n"
    "Exit status: 0 when every file got its row, whatever its errors; 2 on a\n"
    "usage error.\n";

int usage_error(const std::string& message)
{
    std::fprintf(stderr, "pngdecode: %s (try --help)\n", message.c_str());
    return 2;
}

// Best time of `repeat` decodes of the file from memory, or "-" when the
// file cannot be read.
std::string best_microseconds(const std::string& path, long repeat)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "-";
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (bytes.size() > UINT32_MAX)
        return "-";
    auto best = std::chrono::steady_clock::duration::max();
    for (long i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        PngImage* image = png_new_from_bytes(bytes.data(), static_cast<uint32_t>(bytes.size()));
        if (image != nullptr)
            png_decode(image);
        png_free(image);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (elapsed < best)
            best = elapsed;
    }
    return std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(best).count());
}

}  // namespace

int main(int argc, char** argv)
{
    long repeat = 0;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::fputs(USAGE, stdout);
            return 0;
        }
        if (arg == "--repeat") {
            if (i + 1 >= argc)
                return usage_error("--repeat needs a count");
            char* end = nullptr;
            repeat = std::strtol(argv[++i], &end, 10);
            if (*argv[i] == '\0' || *end != '\0' || repeat < 1 || repeat > 1000000)
                return usage_error("--repeat needs a count from 1 to 1000000");
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage_error("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty())
        return usage_error("no files given");

    std::printf("%s%s\n", DECODE_ROW_HEADER, repeat > 0 ? "\tbest_us" : "");
    for (const std::string& path : files) {
        std::string row = decode_row(path);
        if (repeat > 0)
            row += '\t' + best_microseconds(path, repeat);
        std::printf("%s\n", row.c_str());
    }
    return 0;
}
