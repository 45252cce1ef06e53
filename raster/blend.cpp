#include "raster/blend.h"

#include <bit>
#include <cmath>

float AlphaFactor()
{
    return std::bit_cast<float>(std::uint32_t{0x3B808081u});
}

int WeightToW(float weight)
{
    const float scaled = weight * 256.0f;
    if (!(scaled > 0.0f)) // NaN, zero and negative weights draw nothing
        return 0;
    if (scaled >= 256.0f)
        return 256;
    return static_cast<int>(scaled);
}

FillRule MakeFillRule(std::uint32_t colour, float weight, int mode)
{
    FillRule rule;
    rule.colour = colour;
    if (mode & kBlendSourceAlpha) {
        const float alpha = static_cast<float>(colour >> 24) * AlphaFactor();
        weight = weight * alpha;
    }
    rule.w = WeightToW(weight);
    if (rule.w == 0)
        return rule;
    switch (mode & 0xFF) {
    case kBlendCopy:
        rule.op = FillRule::kCopy;
        break;
    case kBlendAdd:
        rule.op = FillRule::kAdd;
        break;
    case kBlendDodge:
        rule.op = FillRule::kDodge;
        break;
    default:
        break;
    }
    return rule;
}

BlendRule MakeBlendRule(float weight, int mode)
{
    BlendRule rule;
    rule.w = WeightToW(weight);
    if (rule.w == 0)
        return rule;
    const bool sourceAlpha = (mode & kBlendSourceAlpha) != 0;
    switch (mode & 0xFF) {
    case kBlendCopy:
        rule.op = sourceAlpha ? BlendRule::kAlpha : BlendRule::kCopy;
        break;
    case kBlendAdd:
        rule.op = sourceAlpha ? BlendRule::kAlphaAdd : BlendRule::kAdd;
        break;
    case kBlendDodge:
        rule.op = sourceAlpha ? BlendRule::kAlphaDodge : BlendRule::kDodge;
        break;
    default:
        break;
    }
    return rule;
}
