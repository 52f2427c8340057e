// Every PngSuite file gives exactly the row its EXPECTED.tsv lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tools/pngdecode/decode_row.h"

namespace {

const std::filesystem::path SUITE = std::filesystem::path(WHITEPINE_TESTDATA) / "png" / "pngsuite";

TEST(PngSuite, EveryFileGivesItsExpectedRow)
{
    std::ifstream expected(SUITE / "EXPECTED.tsv");
    if (!expected)
        GTEST_SKIP() << "no PngSuite at " << SUITE;
    std::string line;
    std::getline(expected, line);  // column names
    int rows = 0;
    while (std::getline(expected, line)) {
        if (line.empty())
            continue;
        const std::string file = line.substr(0, line.find('\t'));
        EXPECT_EQ(decode_row((SUITE / file).string()), line);
        ++rows;
    }
    EXPECT_EQ(rows, 175);
}

}  // namespace
