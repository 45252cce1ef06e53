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

inline int ReadI32(std::span<const std::uint8_t> data, int pos, std::int32_t& out)
{
    if (!HasBytes(data, pos, 4))
        return -1;
    const auto p = static_cast<std::size_t>(pos);
    std::uint32_t v = 0;
    for (std::size_t i = 4; i-- > 0;)
        v = (v << 8) | data[p + i];
    out = static_cast<std::int32_t>(v);
    return pos + 4;
}

inline int ReadF64(std::span<const std::uint8_t> data, int pos, double& out)
{
    if (!HasBytes(data, pos, 8))
        return -1;
    const auto p = static_cast<std::size_t>(pos);
    std::uint64_t v = 0;
    for (std::size_t i = 8; i-- > 0;)
        v = (v << 8) | data[p + i];
    std::memcpy(&out, &v, 8);
    return pos + 8;
}
