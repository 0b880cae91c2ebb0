#pragma once
// What the BMP reader and writer both need to know of the file layout. All fields in the file
// are little-endian.

#include <cstdint>

namespace kmrn::bmp {

inline constexpr std::uint32_t FileHeaderSize = 14;  // BITMAPFILEHEADER
inline constexpr std::uint32_t CoreHeaderSize = 12;  // BITMAPCOREHEADER (OS/2 1.x)
inline constexpr std::uint32_t InfoHeaderSize = 40;  // BITMAPINFOHEADER
inline constexpr std::uint32_t Os2HeaderSize = 64;   // OS/2 2.x BITMAPINFOHEADER2
inline constexpr std::uint32_t MaskBytes = 12;       // red, green and blue DWORD masks

// biCompression values.
inline constexpr std::uint32_t Rgb = 0;
inline constexpr std::uint32_t Rle8 = 1;
inline constexpr std::uint32_t Rle4 = 2;
inline constexpr std::uint32_t BitFields = 3;

// 72 dots per inch; nothing in the program reads it back.
inline constexpr std::uint32_t PixelsPerMetre = 2835;

}  // namespace kmrn::bmp
