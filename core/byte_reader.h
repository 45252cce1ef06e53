#pragma once
// Bounded little-endian readers for bytes we did not write ourselves. Each
// takes a position, checks it before reading, and returns the new position or
// -1 when the data ran out.

#include <cstdint>
#include <cstring>
#include <span>

inline bool HasBytes(std::span<const std::uint8_t> data, std::int64_t pos, std::int64_t count)
{
    return pos >= 0 && count >= 0 && pos <= static_cast<std::int64_t>(data.size()) &&
           count <= static_cast<std::int64_t>(data.size()) - pos;
}

// The little-endian words at p (the caller has checked the bounds); written
// out byte by byte, without a loop, so that reading a bank's thousands of
// values costs no loop compares.
inline std::uint32_t LittleEndian32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline std::uint64_t LittleEndian64(const std::uint8_t* p)
{
    const std::uint64_t low = LittleEndian32(p);
    const std::uint64_t high = LittleEndian32(p + 4);
    return low | high << 32;
}

inline int ReadI32(std::span<const std::uint8_t> data, int pos, std::int32_t& out)
{
    if (!HasBytes(data, pos, 4))
        return -1;
    out = static_cast<std::int32_t>(LittleEndian32(data.data() + pos));
    return pos + 4;
}

inline int ReadF64(std::span<const std::uint8_t> data, int pos, double& out)
{
    if (!HasBytes(data, pos, 8))
        return -1;
    const std::uint64_t v = LittleEndian64(data.data() + pos);
    std::memcpy(&out, &v, 8);
    return pos + 8;
}
