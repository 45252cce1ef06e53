#pragma once
// The per-pixel arithmetic of fills and blits: one plain scalar version that
// every drawing operation calls and that the tests check against the formulas.
// All divisions are integer divisions truncating toward zero. No OS calls.

#include <cstdint>

// Blend mode bits: the low byte picks the operation, the flags modify it.
inline constexpr int kBlendCopy = 0;
inline constexpr int kBlendAdd = 1;
inline constexpr int kBlendDodge = 2;
inline constexpr int kBlendFilter = 0x100;        // bilinear sampling (rotated blits)
inline constexpr int kBlendSourceAlpha = 0x10000; // weight by the source's alpha

// The float nearest to 1/255 (bits 0x3B808081); 255 times it is exactly 1.
float AlphaFactor();

// trunc(weight * 256) in single precision, limited to 0..256; NaN gives 0.
int WeightToW(float weight);

// Channel-wise halves and quarters of all four bytes of a pixel.
inline std::uint32_t HalfOf(std::uint32_t p)
{
    return (p >> 1) & 0x7F7F7F7Fu;
}
inline std::uint32_t QuarterOf(std::uint32_t p)
{
    return (p >> 2) & 0x3F3F3F3Fu;
}

inline int ByteOf(std::uint32_t p, int shift)
{
    return static_cast<int>((p >> shift) & 0xFFu);
}

inline int Clamp255(int v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Colour dodge of one channel by strength s: min(255, old * 256 / (256 - s)),
// and for s of 255 or more 255 (0 stays 0).
inline int DodgeChannel(int old, int s)
{
    if (s > 254)
        return old == 0 ? 0 : 255;
    const int v = old * 256 / (256 - s);
    return v > 255 ? 255 : v;
}

inline std::uint32_t PackPixel(int a, int r, int g, int b)
{
    return (static_cast<std::uint32_t>(a) << 24) | (static_cast<std::uint32_t>(r) << 16) |
           (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

// A channel's value in its place in the pixel, as PackPixel puts it.
inline std::uint32_t Channel(int value, int channel)
{
    return static_cast<std::uint32_t>(value) << (channel * 8);
}

// How a fill combines its colour with each pixel, decided once per call.
struct FillRule {
    enum Op { kNone, kCopy, kAdd, kDodge };
    Op op = kNone;
    int w = 0; // trunc(weight * 256), 1..256 unless op is kNone
    std::uint32_t colour = 0;
};

// Fill rule for a colour, weight and mode. With kBlendSourceAlpha the weight
// is scaled by the colour's alpha first. Low bytes other than copy, add and
// dodge, and weights giving w = 0, give kNone.
FillRule MakeFillRule(std::uint32_t colour, float weight, int mode);

// The fill's per-pixel rule. Copy fills at quarter steps take channel-wise
// shifts of the whole word, alpha included, instead of the general formula.
inline std::uint32_t FillPixel(const FillRule& rule, std::uint32_t old)
{
    const int w = rule.w;
    if (rule.op == FillRule::kCopy) {
        const std::uint32_t c = rule.colour;
        switch (w) {
        case 64:
            return HalfOf(old) + QuarterOf(old) + QuarterOf(c);
        case 128:
            return HalfOf(old) + HalfOf(c);
        case 192:
            return HalfOf(c) + QuarterOf(c) + QuarterOf(old);
        case 256:
            return c;
        default:
            break;
        }
    }
    // The channels are packed as they are made: no array on the stack.
    std::uint32_t packed = 0;
    for (int c = 0; c < 4; ++c) {
        const int shift = c * 8;
        const int o = ByteOf(old, shift);
        const int v = ByteOf(rule.colour, shift);
        const bool alpha = c == 3;
        switch (rule.op) {
        case FillRule::kCopy:
            packed |= Channel(alpha ? w + (o - w) * (256 - w) / 256 : (o - v) * (256 - w) / 256 + v, c);
            break;
        case FillRule::kAdd:
            packed |= Channel(Clamp255(o + (alpha ? w * w : v * w) / 256), c);
            break;
        case FillRule::kDodge:
            packed |= Channel(DodgeChannel(o, (alpha ? w * w : v * w) / 256), c);
            break;
        case FillRule::kNone:
            return old;
        }
    }
    return packed;
}

// How a blit combines a source pixel with a destination pixel.
struct BlendRule {
    enum Op { kNone, kCopy, kAlpha, kAlphaAdd, kAlphaDodge, kAdd, kDodge };
    Op op = kNone;
    int w = 0; // trunc(weight * 256), 1..256 unless op is kNone
};

// Blit rule for a weight and mode (the filter bit is ignored here). Copy, add
// and dodge with or without kBlendSourceAlpha; other low bytes give kNone.
BlendRule MakeBlendRule(float weight, int mode);

// The blit's per-pixel rule. In the formulas s is a source channel, d the
// destination's, a the source's alpha and k = w * (a + 1) / 256; "/" truncates
// toward zero.
[[gnu::always_inline]] inline std::uint32_t BlendPixel(const BlendRule& rule, std::uint32_t src,
                                                       std::uint32_t old)
{
    const int w = rule.w;
    const int a = ByteOf(src, 24);
    // The channels are packed as they are made: no array on the stack.
    std::uint32_t packed = 0;
    switch (rule.op) {
    case BlendRule::kNone:
        return old;
    // Copy, all four channels: s + (d - s) * (256 - w) / 256; at w = 256 the source.
    case BlendRule::kCopy:
        if (w == 256)
            return src;
        for (int c = 0; c < 4; ++c) {
            const int s = ByteOf(src, c * 8);
            packed |= Channel(s + (ByteOf(old, c * 8) - s) * (256 - w) / 256, c);
        }
        break;
    // Source alpha over, colour channels: at w = 256, s + (d - s) * (255 - a) / 256
    // (the source itself when a = 255); otherwise s + (d - s) * (256 - k) / 256.
    // Alpha: min(255, d + a) at w = 256, otherwise min(255, d + k). Nothing
    // changes where a = 0.
    case BlendRule::kAlpha:
        if (a == 0)
            return old;
        if (w == 256) {
            if (a == 255)
                return src;
            for (int c = 0; c < 3; ++c) {
                const int s = ByteOf(src, c * 8);
                packed |= Channel(s + (ByteOf(old, c * 8) - s) * (255 - a) / 256, c);
            }
            packed |= Channel(Clamp255(ByteOf(old, 24) + a), 3);
        } else {
            const int k = w * (a + 1) / 256;
            for (int c = 0; c < 3; ++c) {
                const int s = ByteOf(src, c * 8);
                packed |= Channel(s + (ByteOf(old, c * 8) - s) * (256 - k) / 256, c);
            }
            packed |= Channel(Clamp255(k + ByteOf(old, 24)), 3);
        }
        break;
    // Source alpha add: colour min(255, d + k * s / 256), alpha
    // min(255, d + a * k / 256); nothing changes where a = 0.
    case BlendRule::kAlphaAdd: {
        if (a == 0)
            return old;
        const int k = w * (a + 1) / 256;
        for (int c = 0; c < 3; ++c)
            packed |= Channel(Clamp255(ByteOf(old, c * 8) + k * ByteOf(src, c * 8) / 256), c);
        packed |= Channel(Clamp255(ByteOf(old, 24) + a * k / 256), 3);
        break;
    }
    // Source alpha dodge, all four channels: DodgeChannel(d, s * k / 256).
    case BlendRule::kAlphaDodge: {
        const int k = w * (a + 1) / 256;
        for (int c = 0; c < 4; ++c)
            packed |= Channel(DodgeChannel(ByteOf(old, c * 8), ByteOf(src, c * 8) * k / 256), c);
        break;
    }
    // Add, all four channels: min(255, d + s * w / 256).
    case BlendRule::kAdd:
        for (int c = 0; c < 4; ++c)
            packed |= Channel(Clamp255(ByteOf(old, c * 8) + ByteOf(src, c * 8) * w / 256), c);
        break;
    // Dodge, all four channels: DodgeChannel(d, s * w / 256).
    case BlendRule::kDodge:
        for (int c = 0; c < 4; ++c)
            packed |= Channel(DodgeChannel(ByteOf(old, c * 8), ByteOf(src, c * 8) * w / 256), c);
        break;
    }
    return packed;
}
