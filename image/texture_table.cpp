#include "image/texture_table.h"

#include <GL/gl.h>

#include "image/png_image.h"
#include "image/texture_pixels.h"

void loadTextureTable(std::uint32_t (&names)[assets::TEXTURE_COUNT]) {
    const auto& paths = assets::texturePaths();
    for (std::size_t entry = 0; entry < assets::TEXTURE_COUNT; ++entry) {
        // Null only when memory runs out; the entry then gets an empty texture like a missing file.
        PngImage* image = png_new_from_file(assets::toPlatformPath(paths[entry]).c_str());
        if (image) png_decode(image);

        GLuint name = 0;
        glGenTextures(1, &name);
        names[entry] = name;
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);

        const TexturePixels pixels = texture_pixels(image);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(pixels.width),
                     static_cast<GLsizei>(pixels.height), 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.rgba);
        // OpenGL has its own copy now; nothing reads the image again.
        if (image) png_free(image);
    }
}
