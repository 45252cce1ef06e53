#include "plugin/vstclass.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <iterator>

// The factory programs: slot 0 holds the parameter defaults, slots 1 to 141 the
// programs below, each the baseline with its own base frequency, pulse rate and
// a few other columns changed. Names are Windows-1252 bytes: "\x96" is the en
// dash, and the blank after it in every name ends the escape. Values are stored
// as given; they are clamped only when a program loads.

namespace {

struct Change {
    int index;
    int value;
};

// A short list of columns that differ from the baseline.
class Changes {
public:
    static constexpr std::size_t kCapacity = 8;

    constexpr Changes() = default;
    constexpr Changes(std::initializer_list<Change> list)
    {
        for (const Change& c : list)
            Add(c);
    }
    constexpr Changes With(std::initializer_list<Change> list) const
    {
        Changes more = *this;
        for (const Change& c : list)
            more.Add(c);
        return more;
    }

    constexpr const Change* begin() const { return items.data(); }
    constexpr const Change* end() const { return items.data() + count; }

private:
    // Beyond the capacity this fails to compile: the table is checked when built.
    constexpr void Add(const Change& c) { items.at(count++) = c; }

    std::array<Change, kCapacity> items{};
    std::size_t count = 0;
};

struct FactoryProgram {
    const char* name;
    double baseHz;
    double isoHz;
    Changes changes;
};

// Every factory program starts from these values, one per parameter in index
// order. Against the defaults: Round 100, Play Anyway on, Mix 90.
constexpr std::array<double, kNumParams> kBaseline = {
    200,  // kBaseFreq
    4,    // kIsoRate
    100,  // kRound
    0,    // kWave: Sine
    0,    // kPan
    0,    // kGoldenIso: Off
    1,    // kIsoSwitch: On
    1,    // kPlayAnyway: Yes
    1000, // kFade
    90,   // kMix
    0,    // kLfo1Target: No Assign
    0,    // kLfo1Wave: Sine
    1,    // kLfo1Sync: Yes
    15,   // kLfo1RateSynced: 1/1
    2000, // kLfo1RateMs
    90,   // kLfo1Depth
    0,    // kLfo1Start
    0,    // kLfo2Target: No Assign
    0,    // kLfo2Wave: Sine
    1,    // kLfo2Sync: Yes
    15,   // kLfo2RateSynced: 1/1
    2000, // kLfo2RateMs
    90,   // kLfo2Depth
    0,    // kLfo2Start
    0,    // kLfoRestart
};

// LFO target list entries and note values used by the bank.
constexpr int kTargetPan = 4;
constexpr int kTargetVolume = 5;
constexpr int kTwoWholeNotes = 18; // "2/1"

// The "Healing" and "Solfeggio" programs: a steady carrier without pulses.
constexpr Changes kSteadyTone = {{kRound, 75}, {kIsoSwitch, 0}};

// The "LFO" twin of a "Solfeggio" program: the dry signal muted, the tone swept
// across the stereo field over two whole notes and its volume swayed.
constexpr Changes SteadyToneWithLfos(int volumeDepth)
{
    return kSteadyTone.With({{kMix, 0},
                             {kLfo1Target, kTargetPan},
                             {kLfo1RateSynced, kTwoWholeNotes},
                             {kLfo1Depth, 100},
                             {kLfo2Target, kTargetVolume},
                             {kLfo2Depth, volumeDepth}});
}

// Slots 1 to 141 in slot order. Two names do not carry their own numbers:
// "63.5 (Astral projection)" pulses at 63 Hz and "220 Hz (Lungs)" sounds at 200 Hz.
// clang-format off
constexpr FactoryProgram kFactoryPrograms[] = {
    {"Higher frequencies", 400, 4, {{kRound, 90}}},
    {"Left - Right balance", 200, 4, {{kRound, 90}, {kLfo1Target, kTargetPan}, {kLfo1RateSynced, kTwoWholeNotes}, {kLfo1Depth, 100}}},
    {"Volume balance", 200, 4, {{kRound, 90}, {kMix, 0}, {kLfo2Target, kTargetVolume}, {kLfo2Depth, 80}}},
    {"Rich balance", 200, 4, {{kMix, 80}, {kLfo1Target, kTargetPan}, {kLfo1RateSynced, kTwoWholeNotes}, {kLfo1Depth, 100}, {kLfo2Target, kTargetVolume}, {kLfo2Depth, 50}}},
    {"Triangle waves", 200, 4, {{kWave, 1}, {kMix, 80}}},
    {"Saw waves", 200, 4, {{kWave, 2}, {kMix, 50}}},
    {"Square waves", 200, 4, {{kWave, 3}, {kMix, 45}}},
    {"Golden Sine", 200, 4, {{kWave, 4}, {kMix, 80}}},
    {"Golden Sine Half", 200, 4, {{kWave, 5}, {kMix, 80}}},
    {"Golden Triangle", 200, 4, {{kWave, 6}, {kMix, 80}}},
    {"Golden Square", 200, 4, {{kWave, 7}, {kMix, 45}}},
    {"Isochronic Golden", 200, 4, {{kGoldenIso, 1}}},
    {"Aggressive", 200, 4, {{kRound, 50}}},
    {"Isochronic - 0.2 (Dental pain)", 200, 0.2, {}},
    {"Isochronic - 0.28 (Arthritis)", 200, 0.28, {}},
    {"Isochronic - 0.3 (Depression)", 200, 0.3, {}},
    {"Isochronic - 0.37 (Drug addiction)", 200, 0.37, {}},
    {"Isochronic - 0.4 (Confusion)", 200, 0.4, {}},
    {"Isochronic - 0.5 (Post traumatics)", 200, 0.5, {}},
    {"Isochronic - 0.9 (Euphoria)", 200, 0.9, {}},
    {"Isochronic - 1 (Feeling of well-being, pituitary stimulation)", 200, 1, {}},
    {"Isochronic - 1.45 (Tri-thalamic entrainment, Alzheimer)", 200, 1.45, {}},
    {"Isochronic - 1.5 (Abrahams universal healing rate)", 200, 1.5, {}},
    {"Isochronic - 1.8 (Sinus congestion)", 200, 1.8, {}},
    {"Isochronic - 2.0 (Nerve regeneration)", 200, 2, {}},
    {"Isochronic - 2.06 (Associated with coccyx)", 200, 2.06, {}},
    {"Isochronic - 2.2 (Dreamless sleep, trance state)", 200, 2.2, {}},
    {"Isochronic - 2.3 (Associated with genitals)", 200, 2.3, {}},
    {"Isochronic - 2.57 (Associated with bladder)", 200, 2.57, {}},
    {"Isochronic - 2.67 (Associated with intestines)", 200, 2.67, {}},
    {"Isochronic - 3.0 (Increased Reaction Time)", 200, 3, {}},
    {"Isochronic - 3.4 (Sound sleep)", 200, 3.4, {}},
    {"Isochronic - 3.44 (Associated with ovaries)", 200, 3.44, {}},
    {"Isochronic - 3.5 (Feeling of unity with everythin)", 200, 3.5, {}},
    {"Isochronic - 3.6 (Remedy for anger & irritability)", 200, 3.6, {}},
    {"Isochronic - 3.84 (Associated with the liver/pancreas)", 200, 3.84, {}},
    {"Isochronic - 4.0 (Extrasensory perception, astral Projection)", 200, 4, {}},
    {"Isochronic - 4.11 (Associated with kidneys)", 200, 4.11, {}},
    {"Isochronic - 4.5 (Shamanic & Tibetan state of consciousness)", 200, 4.5, {}},
    {"Isochronic - 4.6 (Associated with spleen & blood)", 200, 4.6, {}},
    {"Isochronic - 4.9 (Relaxation & meditation)", 200, 4.9, {}},
    {"Isochronic - 5.0 (Relaxed states, pain-relief)", 200, 5, {}},
    {"Isochronic - 5.14 (Associated with stomach)", 200, 5.14, {}},
    {"Isochronic - 5.35 (Associated with lungs)", 200, 5.35, {}},
    {"Isochronic - 5.5 (Beyond knowledge to knowing)", 200, 5.5, {}},
    {"Isochronic - 5.8 (Reduce fear, absent-mindedness)", 200, 5.8, {}},
    {"Isochronic - 6.0 (Creative visualization)", 200, 6, {}},
    {"Isochronic - 6.15 (Associated with heart)", 200, 6.15, {}},
    {"Isochronic - 6.3 (Mental & astral projection)", 200, 6.3, {}},
    {"Isochronic - 7.0 (Mental & astral projection 2)", 200, 7, {}},
    {"Isochronic - 7.5 (Inter-awareness of self)", 200, 7.5, {}},
    {"Isochronic - 7.8 (Stimulates ESP, paranormal)", 200, 7.8, {}},
    {"Isochronic - 8.0 (Learning new information)", 200, 8, {}},
    {"Isochronic - 8.6 (Induces sleep, tingling sensations)", 200, 8.6, {}},
    {"Isochronic - 9.0 (Awareness of causes of body imbalance)", 200, 9, {}},
    {"Isochronic - 9.41 (Pyramid frequency)", 200, 9.41, {}},
    {"Isochronic - 9.6 (Earth's magnetic field)", 200, 9.6, {}},
    {"Isochronic - 10.6 (Relaxed & alert)", 200, 10.6, {}},
    {"Isochronic - 11.0 (Focused alertness)", 200, 11, {}},
    {"Isochronic - 14.1 (Earth Resonance)", 200, 14.1, {}},
    {"Isochronic - 15.0 (Euphoria)", 200, 15, {}},
    {"Isochronic - 20.3 (Earth Resonance)", 200, 20.3, {}},
    {"Isochronic - 22.02 (Serotonin)", 200, 22.02, {}},
    {"Isochronic - 26.4 (Earth Resonance)", 200, 26.4, {}},
    {"Isochronic - 30.0 (Associated with marijuana)", 200, 30, {}},
    {"Isochronic - 31.32 (Pituitary stimulation to release growth hormone)", 200, 31.32, {}},
    {"Isochronic - 32.0 (Desensitizer; enhanced vigour & alertnes)", 200, 32, {}},
    {"Isochronic - 33.0 (Christ consciousness)", 200, 33, {}},
    {"Isochronic - 35.0 (Awakening of mid-chakras, balance of chakras)", 200, 35, {}},
    {"Isochronic - 38.0 (Endorphin release)", 200, 38, {}},
    {"Isochronic - 46.98 (Useful for weird effects)", 200, 46.98, {}},
    {"Isochronic - 55.0 (Tantric yoga, stimulates the kundalini)", 200, 55, {}},
    {"Isochronic - 63.5 (Astral projection)", 200, 63, {}},
    {"Isochronic - 70.0 (Mental & astral projection)", 200, 70, {}},
    {"Isochronic - 83.0 (Third eye opening)", 200, 83, {}},
    {"Isochronic - 90.0 (Pleasure, producing beta-endorphins)", 200, 90, {}},
    {"Isochronic - 105.0 (Overall view of complete situation)", 200, 105, {}},
    {"Isochronic - 108.0 (Total knowing)", 200, 108, {}},
    {"Isochronic - 111.0 (Beta endorphins)", 200, 111, {}},
    {"Isochronic - 176.0 (Associated with colon)", 200, 176, {}},
    {"Isochronic - 8.0 (Muladhara chakra)", 200, 8, {}},
    {"Isochronic - 9.0 (Svadhisthana chakra)", 200, 9, {}},
    {"Isochronic - 10.0 (Manipura chakra)", 200, 10, {}},
    {"Isochronic - 10.5 (Anahata chakra)", 200, 10.5, {}},
    {"Isochronic - 12.0 (Vishuddha chakra)", 200, 12, {}},
    {"Isochronic - 13.0 (Ajna chakra)", 200, 13, {}},
    {"Isochronic - 15.0 (Sahasrara chakra)", 200, 15, {}},
    {"Isochronic - 7.83 (Schumann Resonance)", 200, 7.83, {}},
    {"Isochronic - 14.3 (Schumann Resonance)", 200, 14.3, {}},
    {"Isochronic - 20.8 (Schumann Resonance)", 200, 20.8, {}},
    {"Isochronic - 27.3 (Schumann Resonance)", 200, 27.3, {}},
    {"Isochronic - 33.8 (Schumann Resonance)", 200, 33.8, {}},
    {"Isochronic - 126.22 (Sun: light, warmth, joy, animus)", 200, 126.22, {}},
    {"Isochronic - 136.1 (Earth: resonates with the earth year)", 200, 136.1, {}},
    {"Isochronic - 140.25 (Pluto: power, crisis & changes)", 200, 140.25, {}},
    {"Isochronic - 141.27 (Mercury: intellectuality, mobility)", 200, 141.27, {}},
    {"Isochronic - 144.72 (Mars: activity, energy, freedom, humor)", 200, 144.72, {}},
    {"Isochronic - 147.85 (Saturn: separation, sorrow, death)", 200, 147.85, {}},
    {"Isochronic - 183.58 (Jupiter: growth, success, justice, spirituality)", 200, 183.58, {}},
    {"Isochronic - 194.71 (Earth: stability, grounding)", 200, 194.71, {}},
    {"Isochronic - 207.36 (Uranus: spontaneity, independence, originality)", 200, 207.36, {}},
    {"Isochronic - 211.44 (Neptune: the unconscious, secrets, imagination, spiritual love)", 200, 211.44, {}},
    {"Isochronic - 221.23 (Venus: beauty, love, sexuality, sensuality, harmony)", 200, 221.23, {}},
    {"Healing \x96 110 Hz (Stomach)", 110, 4, kSteadyTone},
    {"Healing \x96 117.3 Hz (Pancreas)", 117.3, 4, kSteadyTone},
    {"Healing \x96 164.3 Hz (Gall Bladder)", 164.3, 4, kSteadyTone},
    {"Healing \x96 176 Hz (Colon)", 176, 4, kSteadyTone},
    {"Healing \x96 220 Hz (Lungs)", 200, 4, kSteadyTone},
    {"Healing \x96 264 Hz (Personality)", 264, 4, kSteadyTone},
    {"Healing \x96 281.6 Hz (Small Intestine)", 281.6, 4, kSteadyTone},
    {"Healing \x96 295.8 Hz (Fat Cells)", 295.8, 4, kSteadyTone},
    {"Healing \x96 317.8 Hz (Liver)", 317.8, 4, kSteadyTone},
    {"Healing \x96 319.9 Hz (Kidneys)", 319.9, 4, kSteadyTone},
    {"Healing \x96 321.9 Hz (Blood)", 321.9, 4, kSteadyTone},
    {"Healing \x96 324 Hz (Muscles)", 324, 4, kSteadyTone},
    {"Healing \x96 352 Hz (Bladder)", 352, 4, kSteadyTone},
    {"Healing \x96 418.3 Hz (Bones)", 418.3, 4, kSteadyTone},
    {"Healing \x96 432 Hz (Natural, harmonic intonation of nature)", 432, 4, kSteadyTone},
    {"Healing \x96 492 Hz (Spleen)", 492, 4, kSteadyTone},
    {"Healing \x96 492.8 Hz (Adrenals, thyroid & parathyroid)", 492.8, 4, kSteadyTone},
    {"Healing \x96 586 Hz (Circulation  & sex)", 586, 4, kSteadyTone},
    {"Solfeggio UT \x96 396 Hz (Turning grief into joy, liberating Guilt and Fear)", 396, 4, kSteadyTone},
    {"Solfeggio UT \x96 396 Hz LFO", 396, 4, SteadyToneWithLfos(50)},
    {"Solfeggio RE \x96 417 Hz (Undoing Situations and Facilitating Change)", 417, 4, kSteadyTone},
    {"Solfeggio RE \x96 417 Hz LFO", 417, 4, SteadyToneWithLfos(50)},
    {"Solfeggio MI \x96 528 Hz (Transformation and Miracles, DNA Repair)", 528, 4, kSteadyTone},
    {"Solfeggio MI \x96 528 Hz LFO", 528, 4, SteadyToneWithLfos(45)},
    {"Solfeggio FA \x96 639 Hz (Relationship, connecting with spiritual family)", 639, 4, kSteadyTone},
    {"Solfeggio FA \x96 639 Hz LFO", 639, 4, SteadyToneWithLfos(45)},
    {"Solfeggio SOL \x96 741 Hz (Solving problems, expressions/solutions)", 741, 4, kSteadyTone},
    {"Solfeggio SOL \x96 741 Hz LFO", 741, 4, SteadyToneWithLfos(45)},
    {"Solfeggio LA \x96 852 Hz (Awakening Intuition, returning to Spiritual Order)", 852, 4, kSteadyTone},
    {"Solfeggio LA \x96 852 Hz LFO", 852, 4, SteadyToneWithLfos(40)},
    {"Solfeggio SI \x96 963 Hz (Awakens any system to its original, perfect state)", 963, 4, kSteadyTone},
    {"Solfeggio SI \x96 963 Hz LFO", 963, 4, SteadyToneWithLfos(40)},
    {"Solfeggio - 174 Hz (Natural anaesthetic, reduce pain physically and energetically)", 174, 4, kSteadyTone},
    {"Solfeggio - 174 Hz LFO", 174, 4, SteadyToneWithLfos(50)},
    {"Solfeggio \x96 285 Hz (Return tissue into its original form, influences energy fields)", 285, 4, kSteadyTone},
    {"Solfeggio \x96 285 Hz LFO", 285, 4, SteadyToneWithLfos(50)},
    {"Solfeggio \x96 936 Hz (Pineal Gland Activator)", 936, 4, kSteadyTone},
    {"Solfeggio \x96 936 Hz Hz LFO", 936, 4, SteadyToneWithLfos(40)},
};
// clang-format on

static_assert(std::size(kFactoryPrograms) == 141);

} // namespace

void VSTCLASS::MakeFactoryPrograms()
{
    // The live parameters still hold their defaults here.
    MakeDefaultPrograms("---- default ----", 1);
    for (const FactoryProgram& program : kFactoryPrograms) {
        std::array<double, kNumParams> values = kBaseline;
        values[kBaseFreq] = program.baseHz;
        values[kIsoRate] = program.isoHz;
        for (const Change& c : program.changes)
            values[static_cast<std::size_t>(c.index)] = c.value;
        MakeProgram(program.name, values);
    }
}
