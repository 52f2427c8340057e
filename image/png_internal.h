// What the decoder's own files share about the image object.
#pragma once

#include "image/png_image.h"

// Keeps the first failure: a later one never overwrites it.
inline PngError png_fail(PngImage* image, PngError error, uint32_t detail)
{
    if (image->error == PngError::None) {
        image->error = error;
        image->errorDetail = detail;
    }
    return image->error;
}

// Frees the source if the object owns it and detaches it.
void png_release_source(PngImage* image);
