#include "text/glyph_row.h"

#include <cstdio>
#include <cstdlib>

float glyphX(const GlyphRow& row, std::size_t index) {
    const long hundredths = row.firstXHundredths + row.advanceHundredths * static_cast<long>(index);
    // Reading the decimal text gives the correctly rounded float.
    char decimal[32];
    std::snprintf(decimal, sizeof decimal, "%ld.%02ld", hundredths / 100, hundredths % 100);
    return std::strtof(decimal, nullptr);
}
