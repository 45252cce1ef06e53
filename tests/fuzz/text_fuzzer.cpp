// Arbitrary texts in every request that takes one from the host: text to
// parameter, the vendor-specific display, range and parse requests, can-do and
// renaming the program. Afterwards every parameter must read back in range with
// a bounded display text, the program name must fit its field and the instance
// must still render finite samples.
//
// Input: a series of requests, each an operation byte, a parameter index byte,
// a float and a text.

#include "fuzz_host.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A host buffer holding text and at least minSize bytes, so that a write past
// what the plug-in may use is caught.
std::vector<char> HostText(const std::string& text, std::size_t minSize)
{
    std::vector<char> buffer(std::max(text.size() + 1, minSize), '\0');
    std::memcpy(buffer.data(), text.data(), text.size());
    return buffer;
}

void RequireTerminated(const std::vector<char>& buffer, std::size_t field, const char* what)
{
    if (std::find(buffer.begin(),
                  buffer.begin() + static_cast<std::ptrdiff_t>(std::min(field, buffer.size())),
                  '\0') == buffer.end())
        fuzz::Fail(what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Bytes in(data, size);
    fuzz::Instance plug;
    plug.Start(44100.0f, 256);
    const int nParams = plug.Effect()->numParams;

    for (int request = 0; request < 16 && !in.Empty(); ++request) {
        const std::uint8_t op = in.U8();
        // Indices from -1 to two past the last parameter.
        const int index = static_cast<int>(in.U8() % (nParams + 3)) - 1;
        const float opt = in.F32();
        const std::string text = in.Text(600);
        switch (op % 7) {
        case 0: {
            std::vector<char> buffer = HostText(text, 1);
            const std::intptr_t r = plug.Dispatch(vst2::kOpStringToParameter, index, 0, buffer.data());
            if (r != ((index >= 0 && index < nParams) ? 1 : 0))
                fuzz::Fail("text to parameter answered wrongly");
            break;
        }
        case 1: { // the display of a normalised position
            std::vector<char> buffer = HostText(text, 32);
            plug.Dispatch(vst2::kOpVendorSpecific, vst2::kVendorParamDisplay, index, buffer.data(), opt);
            RequireTerminated(buffer, 32, "a display text overran its field");
            break;
        }
        case 2: { // a text to a normalised position, written back over the text
            std::vector<char> buffer = HostText(text, 32);
            plug.Dispatch(vst2::kOpVendorSpecific, vst2::kVendorParamFromText, index, buffer.data(), opt);
            RequireTerminated(buffer, buffer.size(), "a parsed position has no terminator");
            if (!text.empty() && index >= 0 && index < nParams) {
                const double position = std::strtod(buffer.data(), nullptr);
                if (!(position >= 0.0 && position <= 1.0))
                    fuzz::Fail("a parsed position lies outside 0 .. 1");
            }
            break;
        }
        case 3:
            plug.Dispatch(vst2::kOpVendorSpecific, 8, index, nullptr, opt);
            break;
        case 4: {
            std::vector<char> buffer = HostText(text, 1);
            plug.Dispatch(vst2::kOpCanDo, 0, 0, buffer.data());
            break;
        }
        case 5: {
            std::vector<char> buffer = HostText(text, 1);
            plug.Dispatch(vst2::kOpSetProgramName, 0, 0, buffer.data());
            std::vector<char> name(256, '\x7f');
            plug.Dispatch(vst2::kOpGetProgramName, 0, 0, name.data());
            RequireTerminated(name, 256, "a program name overran its field");
            if (!text.empty() && std::strncmp(name.data(), text.c_str(), 255) != 0)
                fuzz::Fail("a renamed program does not carry its new name");
            break;
        }
        default: { // a random vendor-specific request with the text as its pointer
            std::vector<char> buffer = HostText(text, 32);
            plug.Dispatch(vst2::kOpVendorSpecific, static_cast<std::int32_t>(in.U32()), index, buffer.data(),
                          opt);
            break;
        }
        }
    }
    plug.CheckParameters();
    plug.Render(1, 256);
    return 0;
}
