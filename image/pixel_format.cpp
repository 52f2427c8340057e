#include "image/pixel_format.h"

uint32_t channels_of_colour_type(uint32_t colourType)
{
    switch (colourType) {
    case 0: return 1;
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 0;
    }
}

PngFormat format_of(uint32_t colourType, uint32_t bitDepth)
{
    struct Entry {
        uint32_t colourType;
        uint32_t bitDepth;
        PngFormat format;
    };
    // Grey with alpha is read at depths 1, 2 and 4 too, although PNG itself
    // allows only 8 and 16 there.
    static constexpr Entry table[] = {
        {2, 8, PngFormat::Rgb8},       {2, 16, PngFormat::Rgb16},
        {6, 8, PngFormat::Rgba8},      {6, 16, PngFormat::Rgba16},
        {0, 1, PngFormat::Gray1},      {0, 2, PngFormat::Gray2},
        {0, 4, PngFormat::Gray4},      {0, 8, PngFormat::Gray8},
        {4, 1, PngFormat::GrayAlpha1}, {4, 2, PngFormat::GrayAlpha2},
        {4, 4, PngFormat::GrayAlpha4}, {4, 8, PngFormat::GrayAlpha8},
    };
    for (const Entry& entry : table) {
        if (entry.colourType == colourType && entry.bitDepth == bitDepth)
            return entry.format;
    }
    return PngFormat::BadFormat;
}
