#pragma once
// What the PNG reader and writer both need to know of the file layout, and the writer's choices of
// row filter and compression level, which the benchmarks measure on real screen pictures. All
// numbers in the file are big-endian.

#include <cstdint>
#include <vector>

#include "picture/dib.h"

namespace kmrn::png {

inline constexpr std::uint8_t Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Chunk types as the four bytes read big-endian.
constexpr std::uint32_t ChunkType(const char (&name)[5]) {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[0])) << 24 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[1])) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[2])) << 8 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[3]));
}
inline constexpr std::uint32_t Ihdr = ChunkType("IHDR");
inline constexpr std::uint32_t Plte = ChunkType("PLTE");
inline constexpr std::uint32_t Idat = ChunkType("IDAT");
inline constexpr std::uint32_t Iend = ChunkType("IEND");
inline constexpr std::uint32_t Trns = ChunkType("tRNS");

inline constexpr std::uint32_t IhdrSize = 13;
// The largest chunk length the format allows.
inline constexpr std::uint32_t MaxChunkLength = 0x7FFFFFFFu;
// Length, type and CRC around every chunk's data.
inline constexpr std::uint32_t ChunkOverhead = 12;

// Colour types.
inline constexpr std::uint8_t Gray = 0;
inline constexpr std::uint8_t Rgb = 2;
inline constexpr std::uint8_t Palette = 3;
inline constexpr std::uint8_t GrayAlpha = 4;
inline constexpr std::uint8_t Rgba = 6;

// Row filter types, the byte in front of every row.
enum class Filter : std::uint8_t { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4 };

inline std::uint32_t ReadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}
inline void WriteU32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 24);
  p[1] = static_cast<std::uint8_t>(v >> 16);
  p[2] = static_cast<std::uint8_t>(v >> 8);
  p[3] = static_cast<std::uint8_t>(v);
}

// The Paeth filter's guess at a byte from the ones left (a), above (b) and above left (c) of it.
// Written without branches on the data and in 16-bit numbers (all the differences fit), so that
// the loops around it vectorise with eight bytes to a lane group rather than four.
inline std::uint8_t PaethPredictor(std::int16_t a, std::int16_t b, std::int16_t c) {
  auto pa = static_cast<std::int16_t>(b - c);
  auto pb = static_cast<std::int16_t>(a - c);
  auto pc = static_cast<std::int16_t>(pa + pb);
  pa = static_cast<std::int16_t>(pa < 0 ? -pa : pa);
  pb = static_cast<std::int16_t>(pb < 0 ? -pb : pb);
  pc = static_cast<std::int16_t>(pc < 0 ? -pc : pc);
  const std::int16_t nearest = pb <= pc ? b : c;
  return static_cast<std::uint8_t>((pa <= pb) & (pa <= pc) ? a : nearest);
}

// How the writer filters its rows: one filter for every row, or per row the one whose bytes, read
// as signed, add up to the least absolute sum (the usual guess at what deflate packs best).
enum class FilterStrategy { None, Sub, Up, Average, Paeth, Adaptive };

struct PngWriteChoice {
  FilterStrategy filter = FilterStrategy::Adaptive;
  int level = 6;  // libdeflate's level, 0 (stored) to 12; clamped
};

// What SavePng and EncodePng use: adaptive filters at level 6 (png_writer.cpp has the figures).
inline constexpr PngWriteChoice DefaultPngWriteChoice{};

// EncodePng with a given filter strategy and level.
std::vector<std::uint8_t> EncodePngWith(const Dib& dib, PngWriteChoice choice);

}  // namespace kmrn::png
