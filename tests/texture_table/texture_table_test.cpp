// The loader against a recording stand-in for the few OpenGL calls it makes, run in a scratch
// working directory holding a copy of the project's pictures.
#include "image/texture_table.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

struct Upload {
    GLuint texture;
    GLint level, internalFormat;
    GLsizei width, height;
    GLenum format, type;
    bool hasPixels;
    std::vector<std::uint8_t> firstPixels;
};

struct GlRecord {
    std::vector<std::string> calls;
    std::vector<Upload> uploads;
    GLuint nextName = 1;
    GLuint bound = 0;
};

GlRecord gl;

}  // namespace

extern "C" {
void glGenTextures(GLsizei n, GLuint* textures) {
    gl.calls.push_back("gen " + std::to_string(n));
    for (GLsizei i = 0; i < n; ++i) textures[i] = gl.nextName++;
}
void glBindTexture(GLenum target, GLuint texture) {
    gl.calls.push_back(target == GL_TEXTURE_2D ? "bind" : "bind elsewhere");
    gl.bound = texture;
}
void glTexParameteri(GLenum target, GLenum name, GLint value) {
    std::string call = target == GL_TEXTURE_2D ? "param" : "param elsewhere";
    call += name == GL_TEXTURE_MAG_FILTER ? " mag" : name == GL_TEXTURE_MIN_FILTER ? " min" : " other";
    call += value == GL_NEAREST ? " nearest" : " other";
    gl.calls.push_back(call);
}
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const void* pixels) {
    gl.calls.push_back(target == GL_TEXTURE_2D && border == 0 ? "image" : "image elsewhere");
    Upload u{gl.bound, level, internalFormat, width, height, format, type, pixels != nullptr, {}};
    if (pixels) {
        // Reading every byte lets the sanitizers catch an upload that runs past its buffer.
        const auto* bytes = static_cast<const std::uint8_t*>(pixels);
        const std::size_t size = std::size_t(width) * std::size_t(height) * 4;
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i < size; ++i) sum += bytes[i];
        u.firstPixels.assign(bytes, bytes + std::min<std::size_t>(size, 4096));
        u.firstPixels.push_back(static_cast<std::uint8_t>(sum));
    }
    gl.uploads.push_back(std::move(u));
}
}

namespace {

namespace fs = std::filesystem;

class TextureTable : public ::testing::Test {
protected:
    void SetUp() override {
        gl = GlRecord{};
        previous_ = fs::current_path();
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        scratch_ = fs::temp_directory_path() / ("texture_table_" + test + "_" + std::to_string(getpid()));
        fs::remove_all(scratch_);
        fs::create_directories(scratch_);
        fs::copy(fs::path(WHITEPINE_SOURCE_DIR) / "RC", scratch_ / "RC", fs::copy_options::recursive);
        fs::current_path(scratch_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(scratch_);
    }

    std::uint32_t names_[assets::TEXTURE_COUNT] = {};

private:
    fs::path previous_, scratch_;
};

TEST_F(TextureTable, EveryEntryGetsItsOwnNearestSampledTexture) {
    loadTextureTable(names_);

    ASSERT_EQ(gl.uploads.size(), assets::TEXTURE_COUNT);
    const std::vector<std::string> perEntry = {"gen 1", "bind", "param mag nearest", "param min nearest", "image"};
    ASSERT_EQ(gl.calls.size(), perEntry.size() * assets::TEXTURE_COUNT);
    for (std::size_t i = 0; i < gl.calls.size(); ++i) ASSERT_EQ(gl.calls[i], perEntry[i % perEntry.size()]) << i;

    std::set<std::uint32_t> distinct;
    for (std::size_t entry = 0; entry < assets::TEXTURE_COUNT; ++entry) {
        const Upload& u = gl.uploads[entry];
        EXPECT_EQ(u.texture, names_[entry]);
        EXPECT_EQ(u.level, 0);
        EXPECT_EQ(u.internalFormat, GL_RGBA);
        EXPECT_EQ(u.format, static_cast<GLenum>(GL_RGBA));
        EXPECT_EQ(u.type, static_cast<GLenum>(GL_UNSIGNED_BYTE));
        EXPECT_TRUE(u.hasPixels) << assets::texturePaths()[entry];
        distinct.insert(names_[entry]);
    }
    EXPECT_EQ(distinct.size(), assets::TEXTURE_COUNT);
    EXPECT_EQ(distinct.count(0), 0u);
}

TEST_F(TextureTable, TheLetterALoadsTwiceIntoTwoTexturesWithOnePicture) {
    loadTextureTable(names_);
    for (std::size_t set : {std::size_t{10}, std::size_t{106}}) {
        const Upload& five = gl.uploads[set + 5];
        const Upload& a = gl.uploads[set + 10];
        EXPECT_NE(names_[set + 5], names_[set + 10]);
        EXPECT_EQ(five.width, a.width);
        EXPECT_EQ(five.height, a.height);
        EXPECT_EQ(five.firstPixels, a.firstPixels);
    }
}

TEST_F(TextureTable, AMissingPictureStillGetsANameAndTheLoadGoesOn) {
    fs::remove("RC/Flake_2.png");
    loadTextureTable(names_);

    ASSERT_EQ(gl.uploads.size(), assets::TEXTURE_COUNT);
    EXPECT_NE(names_[2], 0u);
    EXPECT_EQ(gl.uploads[2].width, 0);
    EXPECT_EQ(gl.uploads[2].height, 0);
    EXPECT_FALSE(gl.uploads[2].hasPixels);
    EXPECT_TRUE(gl.uploads[3].hasPixels);
    EXPECT_GT(gl.uploads[3].width, 0);
    EXPECT_TRUE(gl.uploads.back().hasPixels);
}

TEST_F(TextureTable, ACutPictureIsUploadedAtItsSizeWithoutPixels) {
    {
        const fs::path bg = "RC/BG.png";
        std::string bytes(fs::file_size(bg) / 2, '\0');
        std::FILE* f = std::fopen(bg.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
        std::fclose(f);
        f = std::fopen(bg.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    loadTextureTable(names_);
    EXPECT_EQ(gl.uploads[8].width, 512);
    EXPECT_EQ(gl.uploads[8].height, 512);
    EXPECT_FALSE(gl.uploads[8].hasPixels);
    EXPECT_TRUE(gl.uploads[9].hasPixels);
}

}  // namespace
