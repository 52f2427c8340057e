#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/resource_table.h"

namespace {

TEST(Heap, GivesZeroedAlignedMemoryOfAnySizeAndDropsItAtOnce) {
    platform::Heap* heap = platform::heapCreate();
    ASSERT_NE(heap, nullptr);
    std::vector<unsigned char*> blocks;
    // Small blocks fill a chunk, large ones get their own, and the mix of
    // both must never hand out overlapping memory.
    for (std::size_t size : {1u, 7u, 4096u, 300000u, 16u, 2000000u, 5u, 100000u}) {
        auto* block = static_cast<unsigned char*>(platform::heapAllocZeroed(heap, size));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u);
        for (std::size_t i = 0; i < size; ++i) ASSERT_EQ(block[i], 0) << size;
        std::memset(block, 0xAB, size);
        blocks.push_back(block);
    }
    platform::heapDestroy(heap);
}

TEST(Heap, RefusesImpossibleSizes) {
    platform::Heap* heap = platform::heapCreate();
    EXPECT_EQ(platform::heapAllocZeroed(heap, SIZE_MAX - 8), nullptr);
    platform::heapDestroy(heap);
}

TEST(Files, ReadSeekAndShortReads) {
    const std::string path = (std::filesystem::temp_directory_path() / "whitepine_files_test.bin").string();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    for (int i = 0; i < 100; ++i) std::fputc(i, out);
    std::fclose(out);

    platform::File* file = platform::fileOpen(path.c_str());
    ASSERT_NE(file, nullptr);
    unsigned char bytes[16] = {};
    platform::fileSeek(file, 90);
    EXPECT_EQ(platform::fileRead(file, bytes, 16), 10u);
    EXPECT_EQ(bytes[0], 90);
    EXPECT_EQ(bytes[9], 99);
    platform::fileSeek(file, 3);
    EXPECT_EQ(platform::fileRead(file, bytes, 2), 2u);
    EXPECT_EQ(bytes[0], 3);
    platform::fileSeek(file, 1000);
    EXPECT_EQ(platform::fileRead(file, bytes, 4), 0u);
    platform::fileClose(file);
    std::filesystem::remove(path);

    EXPECT_EQ(platform::fileOpen("/nonexistent/whitepine"), nullptr);
}

TEST(Threads, RunTheEntryWithItsArgument) {
    int value = 0;
    platform::Thread* thread = platform::threadStart([](void* argument) { *static_cast<int*>(argument) = 42; }, &value);
    ASSERT_NE(thread, nullptr);
    platform::threadJoin(thread);
    EXPECT_EQ(value, 42);
}

TEST(Resources, AreFoundByIdOnce) {
    static const char bytes[] = "abc";
    EXPECT_EQ(platform::findResource(7001).data, nullptr);
    EXPECT_TRUE(platform::registerResource(7001, bytes, 3));
    EXPECT_FALSE(platform::registerResource(7001, bytes, 1));
    const platform::Resource found = platform::findResource(7001);
    EXPECT_EQ(found.data, bytes);
    EXPECT_EQ(found.size, 3u);
}

TEST(Resources, EmbeddedFileKeepsItsBytes) {
    std::FILE* in = std::fopen(EMBEDDED_SOURCE_PATH, "rb");
    ASSERT_NE(in, nullptr);
    std::vector<char> expected(1 << 16);
    expected.resize(std::fread(expected.data(), 1, expected.size(), in));
    std::fclose(in);

    const platform::Resource found = platform::findResource(7100);
    ASSERT_NE(found.data, nullptr);
    ASSERT_EQ(found.size, expected.size());
    EXPECT_EQ(std::memcmp(found.data, expected.data(), expected.size()), 0);
}

}  // namespace
