#include "vst2/iplug_vst.h"

#include "core/bounded_string.h"
#include "vst2/host_id.h"

#include <cstring>

namespace {

struct HostPattern {
    const char* text;
    HostId id;
};

// Searched in this order, as lower-case substrings of the product string.
constexpr HostPattern kKnownHosts[] = {
    {"cubase", kHostIdCubase},
    {"reaper", kHostIdReaper},
    {"nuendo", kHostIdNuendo},
    {"cakewalk", kHostIdCakewalk},
    {"samplitude", kHostIdSamplitude},
    {"fruity", kHostIdFruity},
    {"live", kHostIdLive},
    {"melodyne", kHostIdMelodyne},
    {"vstmanlib", kHostIdVstManLib},
    {"aulab", kHostIdAuLab},
    {"forte", kHostIdForte},
    {"chainer", kHostIdChainer},
    {"audition", kHostIdAudition},
    {"orion", kHostIdOrion},
    {"sawstudio", kHostIdSawStudio},
    {"logic", kHostIdLogic},
    {"digital", kHostIdDigitalPerformer},
    {"audiomulch", kHostIdAudioMulch},
    {"presonus", kHostIdPreSonus},
    {"acoustica", kHostIdAcoustica},
    {"garageband", kHostIdGarageBand},
    {"ardour", kHostIdArdour},
};

// Hosts that get only the first two inputs connected and every output.
bool ConnectsTwoInputsAndAllOutputs(int id)
{
    return id == kHostIdForte || id == kHostIdAudition || id == kHostIdOrion || id == kHostIdSawStudio;
}

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
    return kHostIdOther;
}

void IPlugVST::SetHost(const char* product, int packedVersion)
{
    hostId = LookUpHost(product);
    hostVersion = packedVersion;
}

int IPlugVST::GetHostId()
{
    if (hostId != kHostIdNotAsked)
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
    if (ConnectsTwoInputsAndAllOutputs(GetHostId())) {
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
