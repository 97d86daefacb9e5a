#include "library/session/codecs.h"

#include <cstring>

// ---------------------------------------------------------------------------
// Alphabets and tables

const char kBase16Alphabet[17] = "0123456789ABCDEF";
const char kBase32Alphabet[34] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567=";
const char kBase64Alphabet[66] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";

// Decode tables, 16 characters per row: the data value, maxValue + 1 for the
// pad '=', 0xFF for an invalid character.
const std::uint8_t kBase16DecodeTable[128] = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x00
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x10
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x20
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x30
    0xFF, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x40
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x50
    0xFF, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x60
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x70
};

const std::uint8_t kBase32DecodeTable[128] = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x00
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x10
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x20
    0xFF, 0xFF, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x20, 0xFF, 0xFF,  // 0x30
    0xFF, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E,  // 0x40
    0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x50
    0xFF, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E,  // 0x60
    0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x70
};

const std::uint8_t kBase64DecodeTable[128] = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x00
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x10
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x3E, 0xFF, 0xFF, 0xFF, 0x3F,  // 0x20
    0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0xFF, 0xFF, 0xFF, 0x40, 0xFF, 0xFF,  // 0x30
    0xFF, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E,  // 0x40
    0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x50
    0xFF, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28,  // 0x60
    0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32, 0x33, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x70
};

namespace {

constexpr std::uint8_t kInvalid = 0xFF;

// Table value of a character; kInvalid for 0x80 and above.
inline std::uint8_t Lookup(const std::uint8_t* table, char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 128 ? table[u] : kInvalid;
}

}  // namespace

const CodecDescriptor kBase16Codec = {2, 1, 0, 15, kBase16DecodeTable};
const CodecDescriptor kBase32Codec = {8, 5, 6, 31, kBase32DecodeTable};
const CodecDescriptor kBase64Codec = {4, 3, 2, 63, kBase64DecodeTable};

// ---------------------------------------------------------------------------
// General helpers

int CodecValidate(const char* text, std::size_t length, std::size_t blockSize, std::size_t maxPad,
                  unsigned maxValue, const std::uint8_t* table) {
  if (text == nullptr || table == nullptr || blockSize == 0 || length % blockSize != 0) return -1;
  const unsigned pad = maxValue + 1;
  std::size_t padRun = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const std::uint8_t v = Lookup(table, text[i]);
    if (v == kInvalid) return -2;
    if (v == pad) {
      if (++padRun > maxPad) return -2;
    } else if (v > maxValue || padRun > 0) {
      return -2;  // out of range, or a data character after a pad
    }
  }
  return 0;
}

std::size_t CodecDecodedLength(std::size_t length, std::size_t blockSize, std::size_t bytesPerBlock) {
  if (blockSize == 0 || length % blockSize != 0) return 0;
  return length / blockSize * bytesPerBlock;
}

std::size_t CodecEncodedLength(std::size_t length, std::size_t bytesPerBlock, std::size_t charsPerBlock) {
  if (bytesPerBlock == 0) return 0;
  return charsPerBlock * ((length + bytesPerBlock - 1) / bytesPerBlock) + 1;
}

// ---------------------------------------------------------------------------
// Base64

int Base64EncodeBlock(const std::uint8_t* in, char* out, int count) {
  if (in == nullptr || out == nullptr || count < 1) return 0;
  if (count > 3) count = 3;
  const std::uint32_t b0 = in[0];
  const std::uint32_t b1 = count > 1 ? in[1] : 0;
  const std::uint32_t b2 = count > 2 ? in[2] : 0;
  const std::uint32_t w = (b0 << 16) | (b1 << 8) | b2;
  out[0] = kBase64Alphabet[(w >> 18) & 63];
  out[1] = kBase64Alphabet[(w >> 12) & 63];
  out[2] = count > 1 ? kBase64Alphabet[(w >> 6) & 63] : '=';
  out[3] = count > 2 ? kBase64Alphabet[w & 63] : '=';
  return 4;
}

int B64EncodeBlock(const std::uint8_t* in, char* out, int count) { return Base64EncodeBlock(in, out, count); }

std::string B64Encode(const void* bytes, int length) {
  std::string text;
  if (bytes == nullptr || length < 1) return text;
  const auto* p = static_cast<const std::uint8_t*>(bytes);
  const auto n = static_cast<std::size_t>(length);
  text.reserve((n + 2) / 3 * 4);
  char block[4];
  for (std::size_t i = 0; i < n; i += 3) {
    const std::size_t left = n - i;
    Base64EncodeBlock(p + i, block, left >= 3 ? 3 : static_cast<int>(left));
    text.append(block, 4);
  }
  return text;
}

std::size_t Base64Encode(char* out, const void* bytes, std::size_t length) {
  if (out == nullptr) return 0;
  out[0] = '\0';
  if (bytes == nullptr) return 0;
  const auto* p = static_cast<const std::uint8_t*>(bytes);
  std::size_t pos = 0;
  for (std::size_t i = 0; i < length; i += 3) {
    const std::size_t left = length - i;
    pos += static_cast<std::size_t>(Base64EncodeBlock(p + i, out + pos, left >= 3 ? 3 : static_cast<int>(left)));
  }
  out[pos] = '\0';
  return pos;
}

int Base64DecodeBlock(const char* in, std::uint8_t* out) {
  if (in == nullptr || out == nullptr) return 0;
  std::uint8_t v[4];
  for (int i = 0; i < 4; ++i) {
    v[i] = Lookup(kBase64DecodeTable, in[i]);
    if (v[i] > (i < 2 ? 63 : 64)) return 0;
  }
  int count = 3;
  if (v[3] == 64) count = v[2] == 64 ? 1 : 2;
  std::uint32_t w = 0;
  for (int i = 0; i < 4; ++i) w = (w << 6) | (v[i] == 64 ? 0u : v[i]);  // a pad counts as 0
  out[0] = static_cast<std::uint8_t>(w >> 16);
  out[1] = static_cast<std::uint8_t>(w >> 8);
  out[2] = static_cast<std::uint8_t>(w);
  return count;
}

namespace {

// Shared group decoder: a first pass checks every group and sums the counts,
// a second stores only the counted bytes of each group, compacted.
template <std::size_t Chars, std::size_t Bytes, int (*DecodeBlock)(const char*, std::uint8_t*)>
std::size_t DecodeGroups(void* out, std::size_t capacity, const char* text, std::size_t length) {
  if (out == nullptr || text == nullptr || length % Chars != 0) return 0;
  std::uint8_t block[Bytes];
  std::size_t total = 0;
  for (std::size_t i = 0; i < length; i += Chars) {
    const int n = DecodeBlock(text + i, block);
    if (n == 0) return 0;
    total += static_cast<std::size_t>(n);
  }
  if (total > capacity) return 0;
  auto* dst = static_cast<std::uint8_t*>(out);
  std::size_t pos = 0;
  for (std::size_t i = 0; i < length; i += Chars) {
    const int n = DecodeBlock(text + i, block);
    std::memcpy(dst + pos, block, static_cast<std::size_t>(n));
    pos += static_cast<std::size_t>(n);
  }
  return pos;
}

}  // namespace

std::size_t Base64Decode(void* out, std::size_t capacity, const char* text, std::size_t length) {
  return DecodeGroups<4, 3, Base64DecodeBlock>(out, capacity, text, length);
}

int Base64Validate(const char* text, std::size_t length) {
  return CodecValidate(text, length, kBase64Codec.blockSize, kBase64Codec.maxPad, kBase64Codec.maxValue,
                       kBase64Codec.table);
}
std::size_t Base64DecodedLength(std::size_t length) { return CodecDecodedLength(length, 4, 3); }
std::size_t Base64EncodedLength(std::size_t length) { return CodecEncodedLength(length, 3, 4); }

// ---------------------------------------------------------------------------
// Base32

int Base32EncodeBlock(const std::uint8_t* in, char* out, int count) {
  if (in == nullptr || out == nullptr || count < 1) return 0;
  if (count > 5) count = 5;
  std::uint64_t w = 0;
  for (int i = 0; i < 5; ++i) w = (w << 8) | (i < count ? in[i] : 0u);
  // Characters carrying data: 2, 4, 5, 7, 8 for 1..5 bytes.
  static const int kChars[6] = {0, 2, 4, 5, 7, 8};
  for (int i = 0; i < 8; ++i) {
    out[i] = i < kChars[count] ? kBase32Alphabet[(w >> (35 - 5 * i)) & 31] : '=';
  }
  return 8;
}

std::size_t Base32Encode(char* out, const void* bytes, std::size_t length) {
  if (out == nullptr) return 0;
  out[0] = '\0';
  if (bytes == nullptr) return 0;
  const auto* p = static_cast<const std::uint8_t*>(bytes);
  std::size_t pos = 0;
  for (std::size_t i = 0; i < length; i += 5) {
    const std::size_t left = length - i;
    pos += static_cast<std::size_t>(Base32EncodeBlock(p + i, out + pos, left >= 5 ? 5 : static_cast<int>(left)));
  }
  out[pos] = '\0';
  return pos;
}

int Base32DecodeBlock(const char* in, std::uint8_t* out) {
  if (in == nullptr || out == nullptr) return 0;
  std::uint8_t v[8];
  for (int i = 0; i < 8; ++i) {
    v[i] = Lookup(kBase32DecodeTable, in[i]);
    if (v[i] > (i < 2 ? 31 : 32)) return 0;
  }
  int count;
  if (v[7] != 32) {
    count = 5;
  } else if (v[5] != 32) {
    count = 4;
  } else if (v[4] != 32) {
    count = 3;
  } else if (v[2] != 32) {
    count = 2;
  } else {
    count = 1;
  }
  std::uint64_t w = 0;
  for (int i = 0; i < 8; ++i) w = (w << 5) | (v[i] == 32 ? 0u : v[i]);  // a pad counts as 0
  for (int i = 0; i < 5; ++i) out[i] = static_cast<std::uint8_t>(w >> (32 - 8 * i));
  return count;
}

std::size_t Base32Decode(void* out, std::size_t capacity, const char* text, std::size_t length) {
  return DecodeGroups<8, 5, Base32DecodeBlock>(out, capacity, text, length);
}

int Base32Validate(const char* text, std::size_t length) {
  return CodecValidate(text, length, kBase32Codec.blockSize, kBase32Codec.maxPad, kBase32Codec.maxValue,
                       kBase32Codec.table);
}
std::size_t Base32DecodedLength(std::size_t length) { return CodecDecodedLength(length, 8, 5); }
std::size_t Base32EncodedLength(std::size_t length) { return CodecEncodedLength(length, 5, 8); }

// ---------------------------------------------------------------------------
// Base16

void Base16EncodeByte(std::uint8_t byte, char* out) {
  if (out == nullptr) return;
  out[0] = kBase16Alphabet[byte >> 4];
  out[1] = kBase16Alphabet[byte & 15];
}

int Base16DecodePair(const char* in, std::uint8_t* out) {
  if (in == nullptr || out == nullptr) return 0;
  const std::uint8_t hi = Lookup(kBase16DecodeTable, in[0]);
  const std::uint8_t lo = Lookup(kBase16DecodeTable, in[1]);
  if (hi > 15 || lo > 15) return 0;
  *out = static_cast<std::uint8_t>((hi << 4) | lo);
  return 1;
}

std::size_t Base16Encode(char* out, const void* bytes, std::size_t length) {
  if (out == nullptr) return 0;
  out[0] = '\0';
  if (bytes == nullptr) return 0;
  const auto* p = static_cast<const std::uint8_t*>(bytes);
  for (std::size_t i = 0; i < length; ++i) Base16EncodeByte(p[i], out + 2 * i);
  out[2 * length] = '\0';
  return 2 * length;
}

std::size_t Base16Decode(void* out, std::size_t capacity, const char* text, std::size_t length) {
  if (out == nullptr || text == nullptr || length % 2 != 0 || length / 2 > capacity) return 0;
  std::uint8_t b;
  for (std::size_t i = 0; i < length; i += 2) {
    if (Base16DecodePair(text + i, &b) == 0) return 0;
  }
  auto* dst = static_cast<std::uint8_t*>(out);
  for (std::size_t i = 0; i < length; i += 2) Base16DecodePair(text + i, dst + i / 2);
  return length / 2;
}

int Base16Validate(const char* text, std::size_t length) {
  return CodecValidate(text, length, kBase16Codec.blockSize, kBase16Codec.maxPad, kBase16Codec.maxValue,
                       kBase16Codec.table);
}
std::size_t Base16DecodedLength(std::size_t length) { return CodecDecodedLength(length, 2, 1); }
std::size_t Base16EncodedLength(std::size_t length) { return CodecEncodedLength(length, 1, 2); }

// ---------------------------------------------------------------------------
// Packed BCD

std::uint8_t ByteToBcd(std::uint8_t value) {
  if (value >= 100) return 0xFF;
  return static_cast<std::uint8_t>(((value / 10) << 4) | (value % 10));
}

std::uint8_t BcdToByte(std::uint8_t bcd) {
  if ((bcd & 0x0F) > 9 || bcd > 0x9F) return 0xFF;
  return static_cast<std::uint8_t>((bcd >> 4) * 10 + (bcd & 0x0F));
}

namespace {

template <typename T>
T ToBcd(T value, int digits) {
  T result = 0;
  for (int i = 0; i < digits; ++i) {
    result |= static_cast<T>(value % 10) << (4 * i);
    value /= 10;
  }
  return result;
}

template <typename T>
T FromBcd(T bcd, int digits) {
  T result = 0;
  T scale = 1;
  for (int i = 0; i < digits; ++i) {
    result += static_cast<T>((bcd >> (4 * i)) & 0x0F) * scale;
    scale *= 10;
  }
  return result;
}

}  // namespace

std::uint32_t UInt32ToBcd(std::uint32_t value) { return value > 99999999u ? 0 : ToBcd(value, 8); }
std::uint32_t BcdToUInt32(std::uint32_t bcd) { return FromBcd(bcd, 8); }
std::uint64_t UInt64ToBcd(std::uint64_t value) {
  return value > 9999999999999999ull ? 0 : ToBcd(value, 16);
}
std::uint64_t BcdToUInt64(std::uint64_t bcd) { return FromBcd(bcd, 16); }

// ---------------------------------------------------------------------------
// Hex text

int HexDigitValue(char c) {
  const std::uint8_t v = Lookup(kBase16DecodeTable, c);
  return v > 15 ? -1 : v;
}

int HexToBytes(void* out, std::size_t capacity, const char* text) {
  if (out == nullptr || text == nullptr) return -1;
  std::size_t n = 0;
  for (; text[n] != '\0'; ++n) {
    if (HexDigitValue(text[n]) < 0) return -1;
  }
  if (n % 2 != 0 || n / 2 > capacity) return -1;
  auto* dst = static_cast<std::uint8_t*>(out);
  for (std::size_t i = 0; i < n; i += 2) {
    dst[i / 2] = static_cast<std::uint8_t>(dst[i / 2] + 16 * HexDigitValue(text[i]) + HexDigitValue(text[i + 1]));
  }
  return 0;
}

int HexTextToBytes(void* out, std::size_t capacity, const char* text) {
  if (out == nullptr || text == nullptr) return 0;
  auto lenient = [](char c) {
    const int v = HexDigitValue(c);
    return v < 0 ? 0 : v;
  };
  const std::size_t n = std::strlen(text);
  const std::size_t odd = n % 2;  // an odd text reads as if it had a leading '0'
  std::size_t bytes = (n + 1) / 2;
  if (bytes > capacity) bytes = capacity;
  auto* dst = static_cast<std::uint8_t*>(out);
  for (std::size_t k = 0; k < bytes; ++k) {
    // Digit j of the padded text is text[j - odd]; padded digit 0 of an odd text is '0'.
    const std::size_t j = 2 * k;
    const int hi = (j < odd) ? 0 : lenient(text[j - odd]);
    const int lo = lenient(text[j + 1 - odd]);
    dst[k] = static_cast<std::uint8_t>(hi * 16 + lo);
  }
  return 0;
}

// ---------------------------------------------------------------------------
// Day of the week

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b) { return a - FloorDiv(a, b) * b; }

}  // namespace

int WeekDayOf(int year, int month, int day) {
  if (year == 1582 && month == 10 && day >= 5 && day <= 14) return -1;
  const bool gregorian =
      year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day >= 15)));
  std::int64_t y = year;
  std::int64_t m = month;
  if (month == 1 || month == 2) {
    m += 12;
    y -= 1;
  }
  const std::int64_t k = FloorMod(y, 100);
  const std::int64_t j = FloorDiv(y, 100);
  const std::int64_t t = FloorDiv(13 * m + 13, 5);
  std::int64_t h = static_cast<std::int64_t>(day) + k + FloorDiv(k, 4) + t;
  if (gregorian) {
    h += 5 * j + FloorDiv(y, 400);
  } else {
    h += 6 * j + 5;
  }
  return static_cast<int>(FloorMod(FloorMod(h, 7) + 5, 7) + 1);
}
