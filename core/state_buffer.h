#pragma once
// Growable byte buffer for serialised state and program data. Its growth
// policy is part of the plug-in's observable behaviour (capacities 4000, 8096,
// 12192, ... for the default granularity). No OS calls.

#include <cstdint>
#include <span>

class StateBuffer {
public:
    explicit StateBuffer(int growthGranularity = 4096);
    ~StateBuffer();
    StateBuffer(const StateBuffer&) = delete;
    StateBuffer& operator=(const StateBuffer&) = delete;

    // Sets the size, reallocating by the growth policy. Returns the data, or
    // null when the size is 0 or the allocation failed (the size then stays).
    std::uint8_t* SetSize(int newSize, bool mayShrink = true);
    // SetSize with may-shrink, zeroing the bytes added; returns the old size.
    int SetSizeZeroFilled(int newSize);

    bool AppendInt32(std::int32_t v);
    bool AppendDouble(double v);
    // The values one after another, as AppendDouble writes each; all or none.
    bool AppendDoubles(std::span<const double> values);
    bool AppendByte(std::uint8_t v);
    bool AppendBytes(const void* bytes, int count);
    // Length as int32, then the bytes without terminator.
    bool AppendString(const char* text);
    // Empties the buffer and writes the magic 't','f','f','p' and version 0x10000.
    void WriteChunkHeader();

    std::uint8_t* Data() { return data; }
    const std::uint8_t* Data() const { return data; }
    int Size() const { return size; }
    int Capacity() const { return capacity; }
    int Granularity() const { return granularity; }
    std::span<const std::uint8_t> Bytes() const;

private:
    bool Grow(int count, std::uint8_t*& at);

    std::uint8_t* data = nullptr;
    int capacity = 0;
    int size = 0;
    int granularity = 4096;
};

constexpr std::uint32_t kChunkMagic = 0x70666674;
constexpr std::int32_t kChunkVersion = 0x00010000;
