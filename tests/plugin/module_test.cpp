#include "plugin_fixture.h"

#include <cmath>
#include <cstring>

TEST_F(PluginTest, DescriptorFields)
{
    auto plug = Make();
    ASSERT_TRUE(plug);
    const vst2::EffectDescriptor* e = plug->Effect();
    EXPECT_EQ(e->magic, vst2::FourCC('V', 's', 't', 'P'));
    EXPECT_EQ(e->numPrograms, 150);
    EXPECT_EQ(e->numParams, 25);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, kModuleHasEditor ? 0x1019 : 0x1018);
    EXPECT_EQ(e->uniqueID, 0x796D7376);
    EXPECT_EQ(e->version, 10000);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->realQualities, 0);
    EXPECT_EQ(e->offQualities, 0);
    EXPECT_EQ(e->reserved1, 0);
    EXPECT_EQ(e->reserved2, 0);
    for (char c : e->future)
        EXPECT_EQ(c, 0);
    EXPECT_TRUE(e->dispatcher && e->process && e->processReplacing && e->processDoubleReplacing &&
                e->setParameter && e->getParameter);
}

TEST_F(PluginTest, BothEntryPointsMakeIndependentInstances)
{
    auto a = Make("VSTPluginMain");
    auto b = Make("main");
    ASSERT_TRUE(a && b);
    EXPECT_NE(a->Effect(), b->Effect());
    EXPECT_NE(a->Effect()->object, b->Effect()->object);
    a->SetParameter(9, 1.0f);
    EXPECT_EQ(a->GetParameter(9), 1.0f);
    EXPECT_EQ(b->GetParameter(9), 0.5f);
}

TEST_F(PluginTest, ParametersThroughTheDescriptor)
{
    auto plug = Make();
    ASSERT_TRUE(plug);
    EXPECT_FLOAT_EQ(plug->GetParameter(0), static_cast<float>(std::sqrt(180.0 / 19980.0)));
    plug->SetParameter(0, 0.5f);
    EXPECT_EQ(plug->ParamDisplay(0), "5015.0");
    EXPECT_EQ(plug->GetParameter(25), 0.0f);
    EXPECT_EQ(plug->GetParameter(-1), 0.0f);
    plug->SetParameter(25, 0.3f); // nothing
    plug->SetParameter(9, NAN);
    plug->SetParameter(9, INFINITY);
    plug->SetParameter(9, -INFINITY);
    EXPECT_EQ(plug->GetParameter(9), 0.5f);
    EXPECT_EQ(plug->ParamName(1), "Isochronic");
    EXPECT_EQ(plug->ParamName(6), "Isochronic On");
    EXPECT_EQ(plug->ParamName(14), "LFO1 Free Rate");
    EXPECT_EQ(plug->ParamLabel(8), "ms");
    EXPECT_EQ(plug->ParamDisplay(13), "1/1");
    EXPECT_EQ(plug->ParamName(24), "LFO Restart");
    // setParameter does not report back to the host.
    EXPECT_EQ(state.CountRequests(vst2::kHostAutomate), 0);
}

TEST_F(PluginTest, LifecycleRequestsAnswerAndKeepTheInstanceUsable)
{
    auto plug = Make();
    ASSERT_TRUE(plug);
    EXPECT_EQ(plug->Dispatch(vst2::kOpOpen), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpSetBlockSize, 0, 256), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpProcessingOnOff, 0, 1), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpProcessingOnOff, 0, 0), 0);
    // Hostile values are refused, not fatal.
    plug->Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, NAN);
    plug->Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, -1.0f);
    plug->Dispatch(vst2::kOpSetBlockSize, 0, 0);
    plug->Dispatch(vst2::kOpSetBlockSize, 0, -5);
    plug->Dispatch(vst2::kOpSetBlockSize, 0, static_cast<std::intptr_t>(1) << 40);
    EXPECT_EQ(plug->Dispatch(9999), 0);
    float in[2][64] = {};
    float out[2][64] = {};
    in[0][5] = 0.25f;
    float* ins[2] = {in[0], in[1]};
    float* outs[2] = {out[0], out[1]};
    // Stopped transport: the tone is held back and the input passes unchanged.
    state.SetPlaying(false);
    plug->ProcessReplacing(ins, outs, 64);
    EXPECT_EQ(out[0][5], 0.25f);
}
