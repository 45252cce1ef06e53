// Sets a program or bank chunk of any content and size, as a host restoring a
// saved project does, then checks that the instance still renders, that its
// state is whole, and that the state it reports survives a round trip through a
// second instance in its started state byte for byte. Sizes a host can never mean (negative, beyond
// 2^31) must be refused without any change.
//
// First byte: bit 0 bank chunk, bit 1 put a valid header in front of the data,
// bit 2 announce an impossible size instead of the real one; the rest is data.

#include "fuzz_host.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition)
        fuzz::Fail(what);
}

std::vector<std::uint8_t> WithHeader(std::span<const std::uint8_t> body)
{
    std::vector<std::uint8_t> bytes = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

// The round trip through the second instance depends on nothing but the two
// chunks it is handed (that instance is restored to its started state for
// every input), so a pair already seen to reproduce itself is not loaded
// again. Many inputs leave the same state behind: a refused chunk, a bank cut
// off in its first slot, values clamped to the same ends. The pairs are kept
// as fingerprints in a table made once: remembering one allocates nothing, so
// libFuzzer's leak check is not set off.
class KnownRoundTrips {
public:
    using Fingerprint = std::array<std::size_t, 4>;

    static Fingerprint Of(std::span<const std::uint8_t> bank, std::span<const std::uint8_t> program)
    {
        const std::size_t half = bank.size() / 2;
        return {Hash(bank.first(half)), Hash(bank.subspan(half)), Hash(program),
                bank.size() * 65537 + program.size()};
    }

    // Open addressing on the first hash; the table never fills beyond half.
    bool Contains(const Fingerprint& f) const { return table[SlotOf(f)] == f; }

    void Add(const Fingerprint& f)
    {
        if (2 * used < table.size() && table[SlotOf(f)] != f) {
            table[SlotOf(f)] = f;
            ++used;
        }
    }

private:
    static std::size_t Hash(std::span<const std::uint8_t> bytes)
    {
        return std::hash<std::string_view>{}(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

    std::size_t SlotOf(const Fingerprint& f) const
    {
        std::size_t slot = f[0] & (table.size() - 1);
        while (table[slot] != Fingerprint{} && table[slot] != f)
            slot = (slot + 1) & (table.size() - 1);
        return slot;
    }

    std::vector<Fingerprint> table = std::vector<Fingerprint>(std::size_t{1} << 16);
    std::size_t used = 0;
};

void CheckRoundTrip(const std::vector<std::uint8_t>& banked, const std::vector<std::uint8_t>& program)
{
    // What the instance reports is what a host saves: it must load and reproduce itself.
    fuzz::Instance& fresh = fuzz::PreparedInstance(48000.0f, 512, 1);
    Require(fresh.SetChunk(true, banked), "a bank chunk the plug-in wrote does not load");
    Require(fresh.GetChunk(true) == banked, "a bank chunk does not reproduce itself");
    Require(fresh.GetChunk(false) == program, "a bank chunk does not reproduce the live values");
    Require(fresh.SetChunk(false, program), "a program chunk the plug-in wrote does not load");
    Require(fresh.GetChunk(false) == program, "a program chunk does not reproduce itself");
    fresh.Render(2, 256);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Bytes in(data, size);
    const std::uint8_t mode = in.U8();
    const bool bank = mode & 1;
    const auto body = in.Rest();
    const std::vector<std::uint8_t> chunk =
        (mode & 2) ? WithHeader(body) : std::vector<std::uint8_t>(body.begin(), body.end());

    fuzz::Instance& plug = fuzz::PreparedInstance(48000.0f, 512);

    if (mode & 4) {
        const std::vector<std::uint8_t> before = plug.GetChunk(true);
        std::vector<std::uint8_t> copy = chunk;
        copy.push_back(0);
        const std::intptr_t sizes[] = {-1, -static_cast<std::intptr_t>(copy.size()), INTPTR_MIN,
                                       static_cast<std::intptr_t>(INT_MAX) + 1, INTPTR_MAX};
        for (std::intptr_t claimed : sizes)
            Require(plug.Dispatch(vst2::kOpSetChunk, bank ? 0 : 1, claimed, copy.data()) == 0,
                    "a chunk of impossible size was accepted");
        Require(plug.GetChunk(true) == before, "a refused chunk changed the state");
        return 0;
    }

    plug.SetChunk(bank, chunk);
    plug.Render(1, 512);
    plug.CheckParameters();

    const std::vector<std::uint8_t> program = plug.GetChunk(false);
    const std::vector<std::uint8_t> banked = plug.GetChunk(true);
    Require(program.size() == 8 + 8 * static_cast<std::size_t>(plug.Effect()->numParams),
            "the program chunk has the wrong size");
    Require(!banked.empty(), "the bank chunk is empty");

    if (fuzz::EveryInputFresh()) {
        CheckRoundTrip(banked, program);
        return 0;
    }
    static KnownRoundTrips known;
    const KnownRoundTrips::Fingerprint fingerprint = KnownRoundTrips::Of(banked, program);
    if (!known.Contains(fingerprint)) {
        CheckRoundTrip(banked, program);
        known.Add(fingerprint);
    }
    return 0;
}
