#include "vst2/iplug_vst.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

// Host identification from the product string and the preparation that
// follows, against a scripted host callback.

namespace {

struct ScriptedHost {
    std::string product;
    std::intptr_t version = 0;
    int productRequests = 0;
    int versionRequests = 0;
};

ScriptedHost* scripted = nullptr; // the test's own host; one at a time

std::intptr_t ScriptedCallback(vst2::EffectDescriptor*, std::int32_t opcode, std::int32_t, std::intptr_t,
                               void* ptr, float)
{
    if (opcode == vst2::kHostGetProductString) {
        ++scripted->productRequests;
        std::memcpy(ptr, scripted->product.c_str(), scripted->product.size() + 1);
        return 1;
    }
    if (opcode == vst2::kHostGetVendorVersion) {
        ++scripted->versionRequests;
        return scripted->version;
    }
    return 0;
}

class HostIdTest : public ::testing::Test {
protected:
    void SetUp() override { scripted = &host; }
    void TearDown() override { scripted = nullptr; }

    // A bare binding with the given channel configuration.
    std::unique_ptr<IPlugVST> Make(const char* channels = "1-1 2-2")
    {
        return std::make_unique<IPlugVST>(ScriptedCallback, 1, channels, 1, "Test", "", "Vendor", 0x10000, 1,
                                          2, 0, 0, false, false);
    }

    ScriptedHost host;
};

} // namespace

TEST(HostLookUp, FirstTableTextFoundAnywhereInAnyCaseWins)
{
    const struct {
        const char* product;
        int id;
    } rows[] = {
        {"Cubase", 3},
        {"REAPER", 1},
        {"Nuendo", 4},
        {"Cakewalk by BandLab", 5},
        {"Samplitude Pro X", 8},
        {"Fruity Loops", 7},
        {"Ableton Live 11", 9},
        {"Melodyne", 12},
        {"VstManLib", 13},
        {"AULab", 14},
        {"Forte 4", 15},
        {"Chainer", 16},
        {"Adobe Audition", 17},
        {"Orion Platinum", 18},
        {"SAWStudio", 20},
        {"Logic Pro", 21},
        {"Digital Performer", 22},
        {"AudioMulch", 23},
        {"PreSonus Studio One", 24},
        {"Acoustica Mixcraft", 25},
        {"GarageBand", 26},
        {"Ardour", 27},
        {"Steinberg Nuendo and Cubase", 3}, // table order, not position in the text
        {"Reaper live", 1},
        {"Nuendo Live", 4},
        {"Olive Tree", 9},
        {"A host called LiVe", 9},
        {"Bitwig Studio", 0},
        {"cubas e", 0},
        {"", 0},
        {"\xE9\xFF reaper \x96", 1},
    };
    for (const auto& r : rows)
        EXPECT_EQ(IPlugVST::LookUpHost(r.product), r.id) << "'" << r.product << "'";
    EXPECT_EQ(IPlugVST::LookUpHost(nullptr), 0);
}

TEST(HostLookUp, ReadsAtMost255Characters)
{
    const std::string fits = std::string(249, 'a') + "reaper";
    EXPECT_EQ(IPlugVST::LookUpHost(fits.c_str()), 1);
    const std::string cut = std::string(250, 'a') + "reaper";
    EXPECT_EQ(IPlugVST::LookUpHost(cut.c_str()), 0);
    const std::string huge = std::string(100000, 'b') + "cubase";
    EXPECT_EQ(IPlugVST::LookUpHost(huge.c_str()), 0);
}

TEST_F(HostIdTest, AsksOnceAndPacksTheVersion)
{
    const struct {
        const char* product;
        std::intptr_t version;
        int id;
        int packed;
        int versionRequests;
    } rows[] = {
        {"Cubase Pro 12", 60503, 3, 0x060503, 1},
        {"reaper", 10000, 1, 0x010000, 1},
        {"Some Host", 120599, 0, 0x0C0563, 1},
        {"Some Host", 0, 0, 0, 1},
        {"", 60503, 0, 0, 0}, // an empty product: no version request
    };
    for (const auto& r : rows) {
        host = ScriptedHost{r.product, r.version};
        auto plug = Make();
        EXPECT_EQ(plug->GetHostId(), r.id) << r.product;
        EXPECT_EQ(plug->HostVersion(), r.packed) << r.product;
        EXPECT_EQ(plug->GetHostId(), r.id);
        EXPECT_EQ(host.productRequests, 1) << r.product;
        EXPECT_EQ(host.versionRequests, r.versionRequests) << r.product;
    }
}

TEST_F(HostIdTest, NonsenseVersionsStayInsideThePackedFields)
{
    for (std::intptr_t version : {std::intptr_t{-1}, std::intptr_t{1} << 40, std::intptr_t{INT32_MAX}}) {
        host = ScriptedHost{"cubase", version};
        auto plug = Make();
        EXPECT_EQ(plug->GetHostId(), 3);
        const int packed = plug->HostVersion();
        EXPECT_GE(packed, 0) << version;
        EXPECT_LE(packed & 0xFF, 99) << version;
        EXPECT_LE((packed >> 8) & 0xFF, 99) << version;
    }
}

TEST_F(HostIdTest, SetHostStoresTheIdentifierAndVersion)
{
    auto plug = Make();
    plug->SetHost("GarageBand", 0x0A0000);
    EXPECT_EQ(plug->GetHostId(), 26);
    EXPECT_EQ(plug->HostVersion(), 0x0A0000);
    EXPECT_EQ(host.productRequests, 0);
}

// Some hosts get only two connected inputs and all outputs; the preparation
// runs once, at the first open request.
TEST_F(HostIdTest, PreparationConnectsChannelsForSomeHosts)
{
    const struct {
        const char* product;
        bool limited;
    } rows[] = {
        {"Forte", true},     {"Audition", true}, {"Orion", true},
        {"SAWStudio", true}, {"Reaper", false},  {"", false},
    };
    for (const auto& r : rows) {
        host = ScriptedHost{r.product, 10000};
        auto plug = Make("2-2 4-4");
        for (int i = 0; i < 4; ++i)
            plug->SetOutputConnected(i, false);
        plug->Dispatch(vst2::kOpOpen, 0, 0, nullptr, 0.0f);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(plug->IsInputConnected(i), !(r.limited && i >= 2)) << r.product << " input " << i;
            EXPECT_EQ(plug->IsOutputConnected(i), r.limited && i >= 2) << r.product << " output " << i;
        }
        EXPECT_EQ(plug->Descriptor()->numInputs, 4);
        EXPECT_EQ(plug->Descriptor()->numOutputs, 4);
        EXPECT_EQ(plug->InputArrangement().numChannels, 4);
        EXPECT_EQ(plug->OutputArrangement().numChannels, 4);

        // A second open changes nothing and asks nothing.
        plug->SetInputConnected(3, true);
        plug->SetOutputConnected(3, false);
        plug->Dispatch(vst2::kOpOpen, 0, 0, nullptr, 0.0f);
        EXPECT_TRUE(plug->IsInputConnected(3));
        EXPECT_FALSE(plug->IsOutputConnected(3));
        EXPECT_EQ(host.productRequests, 1);
    }
}

TEST_F(HostIdTest, StereoPlugInKeepsItsChannelsUnderEveryHost)
{
    for (const char* product : {"Forte", "Audition", "Orion", "SAWStudio"}) {
        host = ScriptedHost{product, 10000};
        auto plug = Make();
        plug->Dispatch(vst2::kOpOpen, 0, 0, nullptr, 0.0f);
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(plug->IsInputConnected(i)) << product;
            EXPECT_TRUE(plug->IsOutputConnected(i)) << product;
        }
    }
}
