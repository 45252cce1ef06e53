#include "plugin_fixture.h"

#include <string>

// What a host sees of its identification: the requests, when and how often.

TEST_F(PluginTest, HostIsAskedAtTheFirstOpenOnly)
{
    state.SetProduct("Cubase Pro", 60503);
    auto plug = Make();
    ASSERT_TRUE(plug);
    EXPECT_EQ(state.CountRequests(vst2::kHostGetProductString), 0); // not while being built
    plug->Dispatch(vst2::kOpOpen);
    plug->Dispatch(vst2::kOpOpen);
    plug->Start(48000.0, 128);
    EXPECT_EQ(state.CountRequests(vst2::kHostGetProductString), 1);
    EXPECT_EQ(state.CountRequests(vst2::kHostGetVendorVersion), 1);
    EXPECT_TRUE(state.ProductBuffersCleared());
    EXPECT_EQ(plug->Effect()->numInputs, 2);
    EXPECT_EQ(plug->Effect()->numOutputs, 2);
}

TEST_F(PluginTest, EmptyOrOverlongProductStringsAreAskedOnce)
{
    for (const std::string& product : {std::string(), std::string(1000, 'L'), std::string("live")}) {
        host::HostState local;
        local.SetProduct(product, 10000);
        std::string error;
        auto plug = host::PluginInstance::Create(LoadedModule(), local, error);
        ASSERT_TRUE(plug) << error;
        plug->Dispatch(vst2::kOpOpen);
        plug->Dispatch(vst2::kOpOpen);
        EXPECT_EQ(local.CountRequests(vst2::kHostGetProductString), 1) << product.size();
        EXPECT_EQ(local.CountRequests(vst2::kHostGetVendorVersion), product.empty() ? 0 : 1)
            << product.size();
        // The instance works on as before.
        EXPECT_EQ(plug->Dispatch(vst2::kOpIdentify), 0x4E764566);
    }
}
