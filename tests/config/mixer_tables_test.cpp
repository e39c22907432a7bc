#include <gtest/gtest.h>

#include "config/core/mixer_tables.h"

namespace orvane::config {
namespace {

TEST(MixerEncoding, AssignmentAndSignedBytes) {
    EXPECT_EQ(encodeAssignment(3, 8), 0x27);
    EXPECT_EQ(encodeAssignment(1, 1), 0);
    EXPECT_EQ(encodeAssignment(8, 8), 0x77);
    EXPECT_EQ(encodeSignedByte(-1), 255);
    EXPECT_EQ(encodeSignedByte(-128), 128);
    EXPECT_EQ(encodeSignedByte(127), 127);
    EXPECT_EQ(decodeSignedByte(128), -128);
    EXPECT_EQ(decodeSignedByte(255), -1);
    EXPECT_EQ(decodeSignedByte(127), 127);
}

TEST(MixerPanelView, ShowsStoredBytesExactly) {
    MixerTables m;
    m[MixerField::Assignment][2] = 0x27;
    m[MixerField::Neutral][2] = 200;
    m[MixerField::Factor][2] = 128;
    m[MixerField::FactorQ][2] = 255;
    m[MixerField::Exponent][2] = 255;
    const PanelView v = panelView(m, 2);
    EXPECT_EQ(v.source.shown, 3);
    EXPECT_EQ(v.destination.shown, 8);
    EXPECT_EQ(v.neutral.shown, 200);
    EXPECT_EQ(v.factor.shown, -128);
    EXPECT_EQ(v.factorQ.shown, -1);
    EXPECT_EQ(v.exponent.shown, 255);
    for (const PanelValue& p :
         {v.source, v.destination, v.neutral, v.factor, v.factorQ, v.exponent, v.exponentQ}) {
        EXPECT_TRUE(p.exact);
    }
}

TEST(MixerPanelView, ClampsWhatASliderCannotShowAndMarksItInexact) {
    MixerTables m;
    m[MixerField::Assignment][0] = 0x9A; // nibbles 9 and 10
    m[MixerField::Neutral][0] = 300;
    m[MixerField::Factor][0] = -5; // means -5, but is not in byte form
    m[MixerField::FactorQ][0] = 400;
    m[MixerField::Exponent][0] = -1;
    m[MixerField::ExponentQ][0] = 32767;
    const PanelView v = panelView(m, 0);
    EXPECT_EQ(v.source.shown, 8);
    EXPECT_EQ(v.destination.shown, 8);
    EXPECT_FALSE(v.source.exact);
    EXPECT_FALSE(v.destination.exact);
    EXPECT_EQ(v.neutral.shown, 255);
    EXPECT_FALSE(v.neutral.exact);
    EXPECT_EQ(v.factor.shown, -5);
    EXPECT_FALSE(v.factor.exact);
    EXPECT_EQ(v.factorQ.shown, 127);
    EXPECT_FALSE(v.factorQ.exact);
    EXPECT_EQ(v.exponent.shown, 0);
    EXPECT_FALSE(v.exponent.exact);
    EXPECT_EQ(v.exponentQ.shown, 255);
    EXPECT_FALSE(v.exponentQ.exact);

    m[MixerField::Assignment][1] = -3;
    EXPECT_EQ(panelView(m, 1).source.shown, 1);
    EXPECT_FALSE(panelView(m, 1).source.exact);
}

} // namespace
} // namespace orvane::config
