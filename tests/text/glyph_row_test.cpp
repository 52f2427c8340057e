#include "text/glyph_row.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>

namespace {

// |x - hundredths / 100| scaled by 100; exact in double for these magnitudes.
double distance(float x, long hundredths) {
    return std::fabs(static_cast<double>(x) * 100.0 - static_cast<double>(hundredths));
}

void expectNearestFloats(const GlyphRow& row, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const long exact = row.firstXHundredths + row.advanceHundredths * static_cast<long>(i);
        const float x = glyphX(row, i);
        const double d = distance(x, exact);
        EXPECT_LE(d, distance(std::nextafter(x, 1000.0f), exact)) << i;
        EXPECT_LE(d, distance(std::nextafter(x, 0.0f), exact)) << i;
    }
}

TEST(GlyphRow, EveryGlyphSitsAtTheFloatNearestItsDecimalX) {
    expectNearestFloats(GREETINGS_ROW, 501);
    expectNearestFloats(DANCING_ROW, 466);
    EXPECT_EQ(glyphX(GREETINGS_ROW, 0), 2.15f);
    EXPECT_EQ(glyphX(GREETINGS_ROW, 500), 77.15f);
    EXPECT_EQ(glyphX(DANCING_ROW, 1), 2.7f);
    EXPECT_EQ(glyphX(DANCING_ROW, 465), 165.1f);
}

TEST(GlyphRow, WrapDistanceLeavesOneUnitPastTheLastGlyph) {
    EXPECT_EQ(wrapDistance(GREETINGS_ROW, 501), 78.3);
    EXPECT_EQ(wrapDistance(DANCING_ROW, 466), 166.45);
    EXPECT_EQ(wrapDistance(GREETINGS_ROW, 0), 3.15);
}

}  // namespace
