#include "image/asset_paths.h"

namespace assets {

namespace {

constexpr std::string_view singlePicturePaths[] = {
    "RC\\font_icon\\Qorv.png", "RC\\Flake_1.png", "RC\\Flake_2.png", "RC\\Flake_3.png", "RC\\Flake_4.png",
    "RC\\Flake_5.png",         "RC\\Main.png",    "RC\\HUG.png",     "RC\\BG.png",      "RC\\FG.png",
};

constexpr std::string_view glyphDirectories[] = {"RC\\font_set\\", "RC\\font_set2\\"};

std::array<std::string, TEXTURE_COUNT> buildTexturePaths() {
    std::array<std::string, TEXTURE_COUNT> paths;
    std::size_t entry = 0;
    for (std::string_view path : singlePicturePaths) paths[entry++] = path;
    for (std::string_view directory : glyphDirectories)
        for (std::string_view name : glyphFileNames) paths[entry++] = std::string(directory).append(name);
    return paths;
}

}  // namespace

const std::array<std::string_view, GLYPH_COUNT> glyphFileNames = {
    "0.png", "1.png", "2.png", "3.png", "4.png", "A.png", "6.png", "7.png", "8.png", "9.png",
    "A.png", "B.png", "C.png", "D.png", "E.png", "F.png", "G.png", "H.png", "I.png", "J.png",
    "K.png", "L.png", "M.png", "N.png", "O.png", "P.png", "Q.png", "R.png", "S.png", "T.png",
    "U.png", "V.png", "W.png", "X.png", "Y.png", "Z.png",
    "lc_A.png", "lc_B.png", "lc_C.png", "lc_D.png", "lc_E.png", "lc_F.png", "lc_G.png", "lc_H.png",
    "lc_I.png", "lc_J.png", "lc_K.png", "lc_L.png", "lc_M.png", "lc_N.png", "lc_O.png", "lc_P.png",
    "lc_Q.png", "lc_R.png", "lc_S.png", "lc_T.png", "lc_U.png", "lc_V.png", "lc_W.png", "lc_X.png",
    "lc_Y.png", "lc_Z.png",
    "andsymbol.png", "asterisksymbol.png", "atsymbol.png", "backslash.png", "blank.png", "catsymbol.png",
    "closecurlybracket.png", "closeparenthesissymbol.png", "closesquarebracket.png", "commasymbol.png",
    "dashsymbol.png", "dotsymbol.png", "doublecommasymbol.png", "doubledotsymbol.png", "equalsymbol.png",
    "exclamationmark.png", "forwardslashsymbol.png", "inverteduppercommasymbol.png", "lowerdashsymbol.png",
    "majorsymbol.png", "minorsymbol.png", "opencurlybracket.png", "openparenthesissymbol.png",
    "opensquarebracket.png", "percentagesymbol.png", "pipesymbol.png", "plussymbol.png", "questionmark.png",
    "semicolonsymbol.png", "ssymbol.png", "trianglesymbol.png", "uppercommasymbol.png",
    "upwardarrowsymbol.png", "wavesymbol.png",
};

const std::array<std::string, TEXTURE_COUNT>& texturePaths() {
    static const std::array<std::string, TEXTURE_COUNT> paths = buildTexturePaths();
    return paths;
}

std::string toPlatformPath(std::string_view backslashPath) {
    std::string path(backslashPath);
#ifndef _WIN32
    for (char& c : path)
        if (c == '\\') c = '/';
#endif
    return path;
}

}  // namespace assets
