#pragma once
// The table of embedded PNG images, generated at build time from
// resources/images.cmake by resources/embed_pngs.cmake.

#include <cstddef>
#include <cstdint>

struct EmbeddedPng {
    int id;
    const std::uint8_t* data;
    std::size_t size;
};

extern const EmbeddedPng kEmbeddedPngs[];
extern const std::size_t kEmbeddedPngCount;
