// The painted panel against the reviewed reference pictures in docs/, pixel
// for pixel. After a deliberate change of the artwork or of the drawing,
// scripts/update-panel-snapshots.sh repaints the references.

#include "tools/snapshot/panel_snapshot.h"

#include <gtest/gtest.h>

namespace {

void ExpectSameAsReference(int program, const char* file)
{
    snapshot::Picture painted, reference;
    std::string error;
    ASSERT_TRUE(snapshot::PaintPanel(program, {}, painted, error)) << error;
    ASSERT_TRUE(snapshot::ReadPng(std::string(TESSAPHON_SOURCE_DIR "/docs/") + file, reference)) << file;
    ASSERT_EQ(painted.width, reference.width);
    ASSERT_EQ(painted.height, reference.height);
    int differing = 0, firstX = -1, firstY = -1;
    for (int i = 0; i < painted.width * painted.height; ++i) {
        if (painted.pixels[static_cast<std::size_t>(i)] != reference.pixels[static_cast<std::size_t>(i)] &&
            differing++ == 0) {
            firstX = i % painted.width;
            firstY = i / painted.width;
        }
    }
    EXPECT_EQ(differing, 0) << file << ": first at (" << firstX << ", " << firstY
                            << "); run scripts/update-panel-snapshots.sh if the change is meant";
}

TEST(PanelSnapshot, DefaultProgramMatchesItsReference)
{
    ExpectSameAsReference(0, "panel-default.png");
}

TEST(PanelSnapshot, Slot123MatchesItsReference)
{
    ExpectSameAsReference(123, "panel-slot123.png");
}

TEST(PanelSnapshot, SettingsNameParametersByIndexOrName)
{
    snapshot::Picture picture;
    std::string error;
    snapshot::Setting s;
    ASSERT_TRUE(snapshot::ParseSetting("Base Freq=432=x", s));
    EXPECT_EQ(s.parameter, "Base Freq");
    EXPECT_EQ(s.value, "432=x");
    EXPECT_FALSE(snapshot::ParseSetting("=3", s));
    EXPECT_TRUE(snapshot::PaintPanel(0, {{"Wave", "Saw"}, {"9", "20"}}, picture, error)) << error;
    EXPECT_FALSE(snapshot::PaintPanel(0, {{"Loudness", "3"}}, picture, error));
    EXPECT_FALSE(snapshot::PaintPanel(0, {{"25", "1"}}, picture, error));
    EXPECT_FALSE(snapshot::PaintPanel(150, {}, picture, error));
}

} // namespace
