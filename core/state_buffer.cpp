#include "core/state_buffer.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

StateBuffer::StateBuffer(int growthGranularity)
    : granularity(growthGranularity > 0 ? growthGranularity : 4096)
{
}

StateBuffer::~StateBuffer()
{
    std::free(data);
}

std::span<const std::uint8_t> StateBuffer::Bytes() const
{
    if (!data || size <= 0)
        return {};
    return {data, static_cast<std::size_t>(size)};
}

namespace {

// New capacity for n bytes (n > 0), computed in 64 bits; -1 when it would not
// fit an int.
std::int64_t CapacityFor(std::int64_t n, std::int64_t granularity)
{
    std::int64_t g = std::max(n / 2, granularity);
    std::int64_t cap;
    if (granularity < 4096) {
        cap = n + g;
    } else {
        g = std::clamp<std::int64_t>(g & ~std::int64_t{4095}, 4096, 4194304);
        cap = ((n + g + 96) & ~std::int64_t{4095}) - 96;
    }
    return cap > INT_MAX ? -1 : cap;
}

} // namespace

std::uint8_t* StateBuffer::SetSize(int newSize, bool mayShrink)
{
    const int n = std::max(newSize, 0);
    if (n == size && (!mayShrink || 2 * static_cast<std::int64_t>(n) >= capacity))
        return n ? data : nullptr;

    int threshold = 0;
    if (mayShrink && n < size) {
        const std::int64_t byGranularity =
            static_cast<std::int64_t>(capacity) - 4 * static_cast<std::int64_t>(granularity);
        threshold =
            static_cast<int>(std::max<std::int64_t>(std::min<std::int64_t>(byGranularity, capacity / 2), 1));
    }

    if (n > capacity || n < threshold) {
        const std::int64_t newCapacity = n == 0 ? 0 : CapacityFor(n, granularity);
        if (newCapacity < 0)
            return nullptr;
        if (newCapacity != capacity) {
            if (newCapacity == 0) {
                std::free(data);
                data = nullptr;
                capacity = 0;
                size = 0;
                return nullptr;
            }
            auto* grown =
                static_cast<std::uint8_t*>(std::realloc(data, static_cast<std::size_t>(newCapacity)));
            if (!grown)
                return nullptr;
            data = grown;
            capacity = static_cast<int>(newCapacity);
        }
    }
    size = n;
    return n ? data : nullptr;
}

int StateBuffer::SetSizeZeroFilled(int newSize)
{
    const int old = size;
    SetSize(newSize, true);
    if (size > old)
        std::memset(data + old, 0, static_cast<std::size_t>(size - old));
    return old;
}

bool StateBuffer::Grow(int count, std::uint8_t*& at)
{
    const int old = size;
    if (count < 0 || old > INT_MAX - count)
        return false;
    SetSize(old + count, true);
    if (size != old + count || (count > 0 && !data))
        return false;
    at = data + old;
    return true;
}

bool StateBuffer::AppendInt32(std::int32_t v)
{
    std::uint8_t* at = nullptr;
    if (!Grow(4, at))
        return false;
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(u >> (8 * i));
    return true;
}

namespace {

void WriteLittleEndian(std::uint8_t* at, double v)
{
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i)
        at[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

} // namespace

bool StateBuffer::AppendDouble(double v)
{
    return AppendDoubles({&v, 1});
}

bool StateBuffer::AppendDoubles(std::span<const double> values)
{
    if (values.size() > static_cast<std::size_t>(INT_MAX / 8))
        return false;
    std::uint8_t* at = nullptr;
    if (!Grow(static_cast<int>(values.size()) * 8, at))
        return false;
    for (const double v : values) {
        WriteLittleEndian(at, v);
        at += 8;
    }
    return true;
}

bool StateBuffer::AppendByte(std::uint8_t v)
{
    std::uint8_t* at = nullptr;
    if (!Grow(1, at))
        return false;
    *at = v;
    return true;
}

bool StateBuffer::AppendBytes(const void* bytes, int count)
{
    if (count == 0)
        return true;
    if (!bytes)
        return false;
    std::uint8_t* at = nullptr;
    if (!Grow(count, at))
        return false;
    std::memcpy(at, bytes, static_cast<std::size_t>(count));
    return true;
}

bool StateBuffer::AppendString(const char* text)
{
    const std::size_t length = text ? std::strlen(text) : 0;
    if (length > INT_MAX)
        return false;
    return AppendInt32(static_cast<std::int32_t>(length)) && AppendBytes(text, static_cast<int>(length));
}

void StateBuffer::WriteChunkHeader()
{
    SetSize(0, true);
    AppendInt32(static_cast<std::int32_t>(kChunkMagic));
    AppendInt32(kChunkVersion);
}
