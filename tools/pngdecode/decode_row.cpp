#include "tools/pngdecode/decode_row.h"

#include <string>

#include "image/png_image.h"
#include "tools/pngdecode/sha256.h"

const char* const DECODE_ROW_HEADER = "file\terror\tdetail\twidth\theight\tformat\tsha256";

std::string decode_row(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    std::string row = slash == std::string::npos ? path : path.substr(slash + 1);

    PngImage* image = png_new_from_file(path.c_str());
    if (image == nullptr)
        return row + "\t1\t0\t0\t0\t0\t-";
    png_decode(image);
    const uint8_t* buffer = png_get_buffer(image);
    for (uint32_t value : {static_cast<uint32_t>(png_get_error(image)), png_get_error_detail(image),
                           png_get_width(image), png_get_height(image), static_cast<uint32_t>(png_get_format(image))})
        row += '\t' + std::to_string(value);
    row += '\t';
    row += buffer == nullptr ? "-" : sha256_hex(buffer, png_get_size(image));
    png_free(image);
    return row;
}
