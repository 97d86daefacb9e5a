#include "library/session/g711.h"

namespace {

constexpr int kALawSegmentEnds[8] = {0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF, 0x1FFF, 0x3FFF, 0x7FFF};
constexpr int kULawSegmentEnds[8] = {0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF, 0x1FFF};
constexpr int kULawClip = 8159;
constexpr int kULawBias = 0x84;  // 132, in the 16-bit scale

// Index of the first segment end at or above `value`; 8 when none is.
int SegmentSearch(int value, const int (&ends)[8]) {
  for (int i = 0; i < 8; ++i) {
    if (value <= ends[i]) return i;
  }
  return 8;
}

// µ-law code (sign, segment and step bits, not yet complemented) to A-law,
// and back, for the magnitude bits 0-127.
constexpr std::uint8_t kULawToALaw[128] = {
    1,   1,   2,   2,   3,   3,   4,   4,   5,   5,   6,   6,   7,   7,   8,   8,   9,   10,  11,  12,  13,  14,
    15,  16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  27,  29,  31,  33,  34,  35,  36,  37,  38,  39,  40,
    41,  42,  43,  44,  46,  48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  58,  59,  60,  61,  62,  64,  65,
    66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,  78,  79,  80,  82,  83,  84,  85,  86,  87,  88,
    89,  90,  91,  92,  93,  94,  95,  96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110,
    111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127, 128};

constexpr std::uint8_t kALawToULaw[128] = {
    1,   3,   5,   7,   9,   11,  13,  15,  16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  26,  27,  28,  29,
    30,  31,  32,  32,  33,  33,  34,  34,  35,  35,  36,  37,  38,  39,  40,  41,  42,  43,  44,  45,  46,  47,
    48,  48,  49,  49,  50,  51,  52,  53,  54,  55,  56,  57,  58,  59,  60,  61,  62,  63,  64,  64,  65,  66,
    67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,  78,  79,  80,  80,  81,  82,  83,  84,  85,  86,  87,
    88,  89,  90,  91,  92,  93,  94,  95,  96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109,
    110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127};

}  // namespace

std::uint8_t LinearToALaw(std::int16_t sample) {
  int value = sample;
  int mask = 0xD5;
  if (value < 0) {
    value = ~value;  // one's complement: -1 codes like 0
    mask = 0x55;
  }
  const int segment = SegmentSearch(value, kALawSegmentEnds);
  if (segment >= 8) return static_cast<std::uint8_t>(0x7F ^ mask);
  const int step = (segment < 2 ? value >> 4 : value >> (segment + 3)) & 0x0F;
  return static_cast<std::uint8_t>(((segment << 4) | step) ^ mask);
}

std::int16_t ALawToLinear(std::uint8_t code) {
  const int a = code ^ 0x55;
  int t = (a & 0x0F) << 4;
  const int segment = (a >> 4) & 0x07;
  switch (segment) {
    case 0: t += 8; break;
    case 1: t += 0x108; break;
    default: t = (t + 0x108) << (segment - 1); break;
  }
  return static_cast<std::int16_t>((a & 0x80) ? t : -t);
}

std::uint8_t LinearToULaw(std::int16_t sample) {
  int value = sample >> 2;
  int mask = 0xFF;
  if (value < 0) {
    value = -value;
    mask = 0x7F;
  }
  if (value > kULawClip) value = kULawClip;
  value += kULawBias >> 2;
  const int segment = SegmentSearch(value, kULawSegmentEnds);
  if (segment >= 8) return static_cast<std::uint8_t>(0x7F ^ mask);
  const int step = (value >> (segment + 1)) & 0x0F;
  return static_cast<std::uint8_t>(((segment << 4) | step) ^ mask);
}

std::int16_t ULawToLinear(std::uint8_t code) {
  const int u = static_cast<std::uint8_t>(~code);
  int t = ((u & 0x0F) << 3) + kULawBias;
  t <<= (u & 0x70) >> 4;
  return static_cast<std::int16_t>((u & 0x80) ? kULawBias - t : t - kULawBias);
}

std::uint8_t ALawToULaw(std::uint8_t code) {
  return (code & 0x80) ? static_cast<std::uint8_t>(0xFF ^ kALawToULaw[code ^ 0xD5])
                       : static_cast<std::uint8_t>(0x7F ^ kALawToULaw[code ^ 0x55]);
}

std::uint8_t ULawToALaw(std::uint8_t code) {
  return (code & 0x80) ? static_cast<std::uint8_t>(0xD5 ^ (kULawToALaw[0xFF ^ code] - 1))
                       : static_cast<std::uint8_t>(0x55 ^ (kULawToALaw[0x7F ^ code] - 1));
}
