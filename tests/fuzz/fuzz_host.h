#pragma once
// What every fuzz target shares: a minimal host that answers the plug-in's
// requests from a record the target controls, a reader that takes operands
// from the fuzzer's bytes, and instances driven only through the descriptor's
// function pointers, exactly as a host reaches them. Any rendered sample that
// is not a finite number aborts the run.

#include "core/iplug_base.h"
#include "plugin/engine_state.h"
#include "vst2/vst2_abi.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fuzz {

// Operands from the fuzzer's bytes; reads past the end give zeros.
class Bytes {
public:
    Bytes(const std::uint8_t* bytes, std::size_t byteCount) : data(bytes), size(byteCount) {}

    bool Empty() const { return pos >= size; }
    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    std::uint64_t U64();
    float F32() { return Bits<float, std::uint32_t>(U32()); }
    double F64() { return Bits<double, std::uint64_t>(U64()); }
    // Up to n bytes (fewer when the input ends).
    std::span<const std::uint8_t> Take(std::size_t n);
    std::span<const std::uint8_t> Rest() { return Take(size - pos); }
    // A zero-terminated text of up to maxLength bytes.
    std::string Text(std::size_t maxLength);

private:
    template <typename T, typename U>
    static T Bits(U u)
    {
        T t;
        static_assert(sizeof t == sizeof u);
        __builtin_memcpy(&t, &u, sizeof t);
        return t;
    }

    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
};

// What the host answers: time information (or none), product and version.
struct HostAnswers {
    vst2::TimeInfo time{};
    bool answersTime = true;
    std::string product = "Fuzz Host";
    std::intptr_t vendorVersion = 10000;
};

// The answers every instance created from now on gets; reset by Instance's
// constructor to a playing transport at 120 beats per minute.
HostAnswers& Answers();

// The bank as it stands: every slot's name, flag and values, and the current
// program. Restoring writes back only the slots that changed, straight into
// the bank (loading a whole bank through the host's request costs as much as
// a new instance: every slot goes through the live parameters), then selects
// the program, which loads the live values from its slot.
class BankSnapshot {
public:
    void Take(IPlugBase& plug);
    bool Restore(IPlugBase& plug) const;

private:
    struct Slot {
        bool initialised;
        std::string name;
        std::vector<std::uint8_t> data;
    };

    int program = 0;
    std::vector<Slot> slots;
};

class Instance {
public:
    Instance();  // aborts when the entry point returns no plug-in
    ~Instance(); // closes the instance through the dispatcher
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    vst2::EffectDescriptor* Effect() const { return effect; }
    std::intptr_t Dispatch(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                           void* ptr = nullptr, float opt = 0.0f);
    // Open, sample rate, block size and processing on; the state reached is
    // the one Restore returns to.
    void Start(float sampleRate, std::intptr_t blockSize);
    // Back to exactly the state Start left: the host's answers, sample rate,
    // block size, connected channels, the bank's slots, the current program
    // and its live values, and the engine's running state. Far cheaper than a
    // new instance, which builds its whole factory bank. False when the
    // state could not be brought back (the instance must then be replaced).
    bool Restore();

    // Renders frames with process (0), processReplacing (1) or
    // processDoubleReplacing (2) on a stereo test signal; aborts on any output
    // sample that is not finite.
    void Render(int mode, int frames);

    std::vector<std::uint8_t> GetChunk(bool bank);
    bool SetChunk(bool bank, std::span<const std::uint8_t> bytes);

    // Aborts unless every parameter reads back as a finite position in [0, 1]
    // and its display text ends inside its 32-byte field.
    void CheckParameters();

private:
    vst2::EffectDescriptor* effect = nullptr;
    float startRate = 0.0f;
    std::intptr_t startBlockSize = 0;
    BankSnapshot startBank;
    EngineState startEngine;
};

// The instance for this input in the given slot (0 or 1, for targets that need
// a second instance), started at the given rate and block size, the same for
// every input of a run: the one kept from the previous input, restored, or a
// new one when the restore fails or when the environment variable
// TESSAPHON_FUZZ_FRESH is set (every input on new instances, to show that a
// finding does not depend on the reuse).
Instance& PreparedInstance(float sampleRate, std::intptr_t blockSize, int slot = 0);

// True when TESSAPHON_FUZZ_FRESH is set: nothing may be kept between inputs.
bool EveryInputFresh();

// Aborts the run with a message: a finding.
[[noreturn]] void Fail(const char* what);

} // namespace fuzz
