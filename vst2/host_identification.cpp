#include "vst2/iplug_vst.h"

#include "core/bounded_string.h"

#include <cstring>

namespace {

struct KnownHost {
    const char* text;
    int id;
};

// Searched in this order, as lower-case substrings of the product string.
constexpr KnownHost kKnownHosts[] = {
    {"cubase", 3},      {"reaper", 1},   {"nuendo", 4},      {"cakewalk", 5},   {"samplitude", 8},
    {"fruity", 7},      {"live", 9},     {"melodyne", 12},   {"vstmanlib", 13}, {"aulab", 14},
    {"forte", 15},      {"chainer", 16}, {"audition", 17},   {"orion", 18},     {"sawstudio", 20},
    {"logic", 21},      {"digital", 22}, {"audiomulch", 23}, {"presonus", 24},  {"acoustica", 25},
    {"garageband", 26}, {"ardour", 27},
};

constexpr std::size_t kProductSize = 256;

} // namespace

int IPlugVST::LookUpHost(const char* product)
{
    char lower[kProductSize] = {};
    CopyText(lower, sizeof lower, product);
    // ASCII only: the host's locale must not change which host is found.
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    for (const auto& host : kKnownHosts)
        if (std::strstr(lower, host.text))
            return host.id;
    return 0;
}

void IPlugVST::SetHost(const char* product, int packedVersion)
{
    hostId = LookUpHost(product);
    hostVersion = packedVersion;
}

int IPlugVST::GetHostId()
{
    if (hostId != -1)
        return hostId;
    // One byte more than the host may write, so a host that overruns the
    // field by its terminator still leaves a bounded text.
    char product[kProductSize + 1] = {};
    CallHost(vst2::kHostGetProductString, 0, 0, product);
    product[kProductSize] = '\0';
    int packed = 0;
    if (product[0]) {
        const auto v = static_cast<long long>(CallHost(vst2::kHostGetVendorVersion));
        const long long clamped = v < 0 ? 0 : (v > 99999999 ? 99999999 : v);
        packed =
            static_cast<int>(((clamped / 10000) << 16) | (((clamped % 10000) / 100) << 8) | (clamped % 100));
    }
    SetHost(product, packed);
    return hostId;
}

void IPlugVST::PrepareForHost()
{
    if (prepared)
        return;
    prepared = true;
    const int id = GetHostId();
    if (id == 15 || id == 17 || id == 18 || id == 20) {
        for (int i = 2; i < NInputs(); ++i)
            SetInputConnected(i, false);
        if (NOutputs() >= 3)
            for (int i = 2; i < NOutputs(); ++i)
                SetOutputConnected(i, true);
    }
    inputArrangement.numChannels = NInputs();
    outputArrangement.numChannels = NOutputs();
    descriptor.numInputs = NInputs();
    descriptor.numOutputs = NOutputs();
}
