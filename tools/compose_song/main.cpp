// compose_song: writes the demo's song, "Whitepine Nocturne", as an XM module.
#include "tools/compose_song/score.h"
#include "tools/xm_writer/xm_writer.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void usage(FILE* to) {
    std::fputs(
        "usage: compose_song [--out FILE]\n"
        "Synthesises the instruments and writes the demo's song as an XM module\n"
        "(default FILE: music/whitepine.xm). The output is the same on every run.\n",
        to);
}

}  // namespace

int main(int argc, char** argv) {
    std::string out = "music/whitepine.xm";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            usage(stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--out") == 0) {
            if (i + 1 == argc) {
                std::fputs("compose_song: --out needs a file name\n", stderr);
                return 2;
            }
            out = argv[++i];
            continue;
        }
        std::fprintf(stderr, "compose_song: unknown argument \"%s\"\n", argv[i]);
        usage(stderr);
        return 2;
    }

    const std::vector<uint8_t> bytes = xm_write(compose_whitepine());
    FILE* file = std::fopen(out.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "compose_song: cannot write %s\n", out.c_str());
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "compose_song: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
