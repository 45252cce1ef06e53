#include "core/iparameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string Display(const IParameter& p, double v, bool normalized = false)
{
    char text[32];
    p.GetDisplay(v, normalized, text, sizeof text);
    return text;
}

IParameter WaveParameter()
{
    IParameter p;
    p.DefineChoice("Wave", 0, 8, "");
    int i = 0;
    for (const char* t :
         {"Sine", "Triangle", "Saw", "Square", "Golden Sine", "Sine Half", "Gold. Triangle", "Gold. Square"})
        p.AddDisplayText(i++, t);
    return p;
}

} // namespace

TEST(Parameter, NewParameterIsNeutral)
{
    IParameter p;
    EXPECT_EQ(p.Kind(), ParameterKind::None);
    EXPECT_EQ(p.Min(), 0.0);
    EXPECT_EQ(p.Max(), 1.0);
    EXPECT_EQ(p.Value(), 0.0);
    EXPECT_STREQ(p.GetName(), "");
    EXPECT_STREQ(p.GetLabel(), "");
}

TEST(Parameter, DecimalsFollowTheStep)
{
    const struct {
        double step;
        int decimals;
    } cases[] = {{1.0, 0}, {0.1, 1}, {0.01, 2}, {0.25, 2}, {1.0 / 3.0, 6}, {10.0, 0}};
    for (const auto& c : cases) {
        IParameter p;
        p.DefineReal("x", 0, 0, 100, c.step, "");
        EXPECT_EQ(p.Decimals(), c.decimals) << c.step;
    }
}

TEST(Parameter, KindIsSetOnceAndChoiceRangeIsRaised)
{
    IParameter p;
    p.DefineChoice("One", 0, 1, "");
    EXPECT_EQ(p.Kind(), ParameterKind::Enum);
    EXPECT_EQ(p.Max(), 1.0); // raised to min + step
    p.DefineReal("Again", 0, 0, 5, 1, "");
    EXPECT_EQ(p.Kind(), ParameterKind::Enum);
}

TEST(Parameter, ShapeTwoMapsBaseFrequency)
{
    IParameter p;
    p.DefineReal("Base Freq", 200, 20, 20000, 0.1, "Hz");
    p.SetCurveExponent(2.0);
    EXPECT_DOUBLE_EQ(p.ReadNormalized(), std::sqrt(180.0 / 19980.0));
    p.WriteNormalized(0.5);
    EXPECT_EQ(p.Value(), 5015.0);
    p.SetCurveExponent(0.0);
    p.SetCurveExponent(NAN);
    EXPECT_EQ(p.Shape(), 2.0);
}

TEST(Parameter, IntegralKindsSnapHalvesUpAndCutAtMax)
{
    IParameter p;
    p.DefineInteger("Mix", 50, 0, 100, "%");
    const struct {
        double n;
        double v;
    } cases[] = {{0.504, 50}, {0.505, 51}, {1.2, 100}, {0.0, 0}, {1.0, 100}};
    for (const auto& c : cases) {
        p.WriteNormalized(c.n);
        EXPECT_EQ(p.Value(), c.v) << c.n;
    }
    // Non-finite positions change nothing; negative ones stop at the minimum.
    p.WriteNormalized(0.3);
    p.WriteNormalized(NAN);
    p.WriteNormalized(INFINITY);
    EXPECT_EQ(p.Value(), 30.0);
    p.WriteNormalized(-0.5);
    EXPECT_EQ(p.Value(), 0.0);
}

TEST(Parameter, DoubleKindIsNotSnapped)
{
    IParameter p;
    p.DefineReal("Isochronic", 4, 0.01, 512, 0.01, "Hz");
    p.WriteNormalized(0.123456);
    EXPECT_DOUBLE_EQ(p.Value(), 0.01 + (512 - 0.01) * 0.123456);
}

TEST(Parameter, SetClampedClampsWithoutSnapping)
{
    IParameter p;
    p.DefineInteger("Pan", 0, -100, 100, "%");
    p.SetClamped(12.7);
    EXPECT_EQ(p.Value(), 12.7);
    p.SetClamped(500);
    EXPECT_EQ(p.Value(), 100);
    p.SetClamped(-500);
    EXPECT_EQ(p.Value(), -100);
    p.SetClamped(NAN);
    EXPECT_EQ(p.Value(), -100);
    p.SetClamped(INFINITY);
    EXPECT_EQ(p.Value(), 100);
}

TEST(Parameter, DisplayUsesTextsThenNumbers)
{
    IParameter base;
    base.DefineReal("Base Freq", 200, 20, 20000, 0.1, "Hz");
    EXPECT_EQ(Display(base, 200), "200.0");
    IParameter iso;
    iso.DefineReal("Isochronic", 4, 0.01, 512, 0.01, "Hz");
    EXPECT_EQ(Display(iso, 4), "4.00");
    EXPECT_EQ(Display(iso, 0.0), "0");
    EXPECT_EQ(Display(iso, -0.0), "0");
    IParameter round;
    round.DefineInteger("Round", 75, 0, 100, "%");
    EXPECT_EQ(Display(round, 75), "75");
    EXPECT_EQ(Display(round, 75.9), "75");
    EXPECT_EQ(Display(round, 0.5, true), "50");

    const IParameter wave = WaveParameter();
    EXPECT_EQ(Display(wave, 2.9), "Saw");
    EXPECT_EQ(Display(wave, 7), "Gold. Square");
    EXPECT_EQ(Display(wave, 9), "9"); // no text for 9
    EXPECT_EQ(Display(wave, 1.0, true), "Gold. Square");
}

TEST(Parameter, DisplayNeverOverflowsAndSaturates)
{
    IParameter p;
    p.DefineReal("x", 0, -1e300, 1e300, 0.01, "");
    char small[6];
    p.GetDisplay(123456789.0, false, small, sizeof small);
    EXPECT_EQ(std::string(small), "12345");
    char text[32];
    p.GetDisplay(1e300, false, text, sizeof text);
    EXPECT_EQ(std::string(text).size(), 31u);
    IParameter i;
    i.DefineInteger("i", 0, 0, 10, "");
    i.GetDisplay(1e30, false, text, sizeof text);
    EXPECT_STREQ(text, "2147483647");
    i.GetDisplay(-1e30, false, text, sizeof text);
    EXPECT_STREQ(text, "-2147483648");
}

TEST(Parameter, ParseTextMatchesWholeTextsThenReadsNumbers)
{
    const IParameter wave = WaveParameter();
    EXPECT_EQ(wave.ParseText("Saw"), 2.0);
    EXPECT_EQ(wave.ParseText("saw"), 0.0);
    EXPECT_EQ(wave.ParseText("Saw "), 0.0);
    EXPECT_EQ(wave.ParseText("5"), 5.0);

    IParameter p;
    p.DefineReal("x", 0, 0, 1000, 0.1, "");
    const struct {
        const char* text;
        double v;
    } cases[] = {{"10.6", 10.6},
                 {"  -3.5e2xyz", -350.0},
                 {"+.5", 0.5},
                 {"7.", 7.0},
                 {"1e", 1.0},
                 {"abc", 0.0},
                 {"", 0.0},
                 {"inf", 0.0},
                 {"nan", 0.0},
                 {"0x10", 0.0},
                 {"1e999", 1.7976931348623157e308},
                 {"-1e999", -1.7976931348623157e308},
                 {"1e-999", 0.0}};
    for (const auto& c : cases)
        EXPECT_EQ(p.ParseText(c.text), c.v) << c.text;
    EXPECT_EQ(p.ParseText(nullptr), 0.0);
}

TEST(Parameter, NamesAndTextsAreCutToTheirFields)
{
    IParameter p;
    const std::string longName(100, 'n');
    p.DefineReal(longName.c_str(), 0, 0, 1, 1, longName.c_str());
    EXPECT_EQ(std::string(p.GetName()), std::string(31, 'n'));
    EXPECT_EQ(std::string(p.GetLabel()), std::string(31, 'n'));
    p.AddDisplayText(0, longName.c_str());
    EXPECT_EQ(std::string(p.GetDisplayTextForValue(0)), std::string(31, 'n'));
    EXPECT_STREQ(p.GetDisplayTextForValue(1), "");
}

TEST(Parameter, NormalizeClampsOutOfRangeValues)
{
    IParameter p;
    p.DefineReal("x", 150, 0, 100, 1, "");
    EXPECT_EQ(p.Value(), 150.0); // the default is neither clamped nor snapped
    EXPECT_EQ(p.ReadNormalized(), 1.0);
    EXPECT_EQ(p.NormalizeValue(-5), 0.0);
}

// A host may ask for the text of any position: outside 0 .. 1 it reads the
// nearest end, as writing that position would set (a curved mapping would
// otherwise fold -0.5 back into the range), and NaN reads the minimum.
TEST(Parameter, NormalizedDisplayClampsThePosition)
{
    IParameter p;
    p.DefineReal("Base Freq", 200, 20, 20000, 0.1, "Hz");
    p.SetCurveExponent(2.0);
    EXPECT_EQ(Display(p, -0.5, true), "20.0");
    EXPECT_EQ(Display(p, std::nan(""), true), "20.0");
    EXPECT_EQ(Display(p, -INFINITY, true), "20.0");
    EXPECT_EQ(Display(p, 1.5, true), "20000.0");
    EXPECT_EQ(Display(p, INFINITY, true), "20000.0");
    EXPECT_EQ(Display(p, 0.5, true), "5015.0");
}
