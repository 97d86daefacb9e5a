// Tests of the text and number codecs.
#include "library/session/codecs.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

// An exact-size heap copy of a text without its NUL, so that any read past the
// given length is caught by AddressSanitizer.
std::unique_ptr<char[]> ExactText(const std::string& s) {
  auto p = std::make_unique<char[]>(s.size() == 0 ? 1 : s.size());
  std::memcpy(p.get(), s.data(), s.size());
  return p;
}

// An exact-size heap output buffer filled with a sentinel byte.
constexpr std::uint8_t kSentinel = 0xA5;
std::unique_ptr<std::uint8_t[]> ExactOut(std::size_t n) {
  auto p = std::make_unique<std::uint8_t[]>(n == 0 ? 1 : n);
  std::memset(p.get(), kSentinel, n == 0 ? 1 : n);
  return p;
}

bool AllSentinel(const std::uint8_t* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    if (p[i] != kSentinel) return false;
  }
  return true;
}

using EncodeFn = std::size_t (*)(char*, const void*, std::size_t);
using DecodeFn = std::size_t (*)(void*, std::size_t, const char*, std::size_t);
using ValidateFn = int (*)(const char*, std::size_t);
using LengthFn = std::size_t (*)(std::size_t);

struct Family {
  const char* name;
  EncodeFn encode;
  DecodeFn decode;
  ValidateFn validate;
  LengthFn encodedLength;
  LengthFn decodedLength;
};

const Family kBase64 = {"base64", Base64Encode, Base64Decode, Base64Validate, Base64EncodedLength,
                        Base64DecodedLength};
const Family kBase32 = {"base32", Base32Encode, Base32Decode, Base32Validate, Base32EncodedLength,
                        Base32DecodedLength};
const Family kBase16 = {"base16", Base16Encode, Base16Decode, Base16Validate, Base16EncodedLength,
                        Base16DecodedLength};

struct Vector {
  const Family* family;
  std::string bytes;
  std::string text;
};

// ---------------------------------------------------------------------------
// RFC 4648 vectors, both ways

TEST(Codecs, Rfc4648VectorsBothWays) {
  const Vector cases[] = {
      {&kBase64, "", ""},
      {&kBase64, "f", "Zg=="},
      {&kBase64, "fo", "Zm8="},
      {&kBase64, "foo", "Zm9v"},
      {&kBase64, "foob", "Zm9vYg=="},
      {&kBase64, "fooba", "Zm9vYmE="},
      {&kBase64, "foobar", "Zm9vYmFy"},
      {&kBase64, "abc", "YWJj"},
      {&kBase64, "ab", "YWI="},
      {&kBase64, std::string("\xFB\xFF", 2), "+/8="},
      {&kBase64, std::string("\x00\x00\x00", 3), "AAAA"},
      {&kBase32, "", ""},
      {&kBase32, "f", "MY======"},
      {&kBase32, "fo", "MZXQ===="},
      {&kBase32, "foo", "MZXW6==="},
      {&kBase32, "foob", "MZXW6YQ="},
      {&kBase32, "fooba", "MZXW6YTB"},
      {&kBase32, "foobar", "MZXW6YTBOI======"},
      {&kBase32, std::string("\xFF\xFF\xFF\xFF\xFF", 5), "77777777"},
      {&kBase16, "", ""},
      {&kBase16, "f", "66"},
      {&kBase16, "foobar", "666F6F626172"},
      {&kBase16, std::string("\x0A\xFF", 2), "0AFF"},
  };
  for (const Vector& c : cases) {
    SCOPED_TRACE(std::string(c.family->name) + " \"" + c.text + "\"");
    // Encode into an exact buffer of EncodedLength characters (NUL included).
    const std::size_t encodedSize = c.family->encodedLength(c.bytes.size());
    ASSERT_EQ(encodedSize, c.text.size() + 1);
    auto out = std::make_unique<char[]>(encodedSize);
    EXPECT_EQ(c.family->encode(out.get(), c.bytes.data(), c.bytes.size()), c.text.size());
    EXPECT_EQ(std::string(out.get()), c.text);
    // Decode from an exact text into an exact buffer of the byte count.
    auto text = ExactText(c.text);
    auto bytes = ExactOut(c.bytes.size());
    EXPECT_EQ(c.family->decode(bytes.get(), c.bytes.size(), text.get(), c.text.size()), c.bytes.size());
    EXPECT_EQ(Bytes(bytes.get(), bytes.get() + c.bytes.size()), B(c.bytes));
    EXPECT_EQ(c.family->validate(text.get(), c.text.size()), 0);
    EXPECT_GE(c.family->decodedLength(c.text.size()), c.bytes.size());
  }
}

TEST(Codecs, EncodersRejectNullPointers) {
  char out[8] = "xxxxxxx";
  const Family* families[] = {&kBase64, &kBase32, &kBase16};
  for (const Family* f : families) {
    SCOPED_TRACE(f->name);
    EXPECT_EQ(f->encode(nullptr, "abc", 3), 0u);
    std::memcpy(out, "xxxxxxx", 8);
    EXPECT_EQ(f->encode(out, nullptr, 3), 0u);
    EXPECT_STREQ(out, "");
    std::memcpy(out, "xxxxxxx", 8);
    EXPECT_EQ(f->encode(out, "abc", 0), 0u);
    EXPECT_STREQ(out, "");
  }
}

// ---------------------------------------------------------------------------
// Validation

TEST(Codecs, ValidateTable) {
  struct Case {
    const Family* family;
    std::string text;
    int expected;
  };
  const Case cases[] = {
      {&kBase64, "", 0},
      {&kBase64, "Zg==", 0},
      {&kBase64, "Zm9vYmFy", 0},
      {&kBase64, "abc", -1},        // not a multiple of 4
      {&kBase64, "Zg=", -1},
      {&kBase64, "ab*d", -2},       // bad character
      {&kBase64, "ab d", -2},
      {&kBase64, "A===", -2},       // pad run of 3
      {&kBase64, "====", -2},
      {&kBase64, "YW=I", -2},       // data after a pad
      {&kBase64, "YWI=YWJj", -2},
      {&kBase64, "\x80" "AAA", -2},  // 0x80 and above
      {&kBase64, "\xFF" "AAA", -2},
      {&kBase32, "MY======", 0},
      {&kBase32, "my======", 0},    // lower case accepted
      {&kBase32, "MZXW6YTB", 0},
      {&kBase32, "M=======", -2},   // 7 pads
      {&kBase32, "MY1=====", -2},   // '1' is not base32
      {&kBase32, "MY=====", -1},
      {&kBase32, "MY=A====", -2},
      {&kBase16, "", 0},
      {&kBase16, "0aff", 0},
      {&kBase16, "0AFF", 0},
      {&kBase16, "0AF", -1},
      {&kBase16, "0G", -2},
      {&kBase16, "==", -2},         // base16 has no pad
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.family->name) + " \"" + c.text + "\"");
    auto text = ExactText(c.text);
    EXPECT_EQ(c.family->validate(text.get(), c.text.size()), c.expected);
  }
  EXPECT_EQ(Base64Validate(nullptr, 0), -1);
  EXPECT_EQ(Base32Validate(nullptr, 8), -1);
  EXPECT_EQ(Base16Validate(nullptr, 2), -1);
  EXPECT_EQ(CodecValidate("AAAA", 4, 0, 2, 63, kBase64DecodeTable), -1);
  EXPECT_EQ(CodecValidate("AAAA", 4, 4, 2, 63, nullptr), -1);
  EXPECT_EQ(CodecValidate("AA==", 4, kBase64Codec.blockSize, kBase64Codec.maxPad, kBase64Codec.maxValue,
                          kBase64Codec.table),
            0);
  // A table value above maxValue other than the pad is invalid.
  EXPECT_EQ(CodecValidate("zz", 2, 2, 0, 15, kBase64DecodeTable), -2);
}

// ---------------------------------------------------------------------------
// Decoding: invalid input, the pad quirk, compaction, capacity

TEST(Codecs, DecodeTable) {
  struct Case {
    const Family* family;
    std::string text;
    std::size_t capacity;
    std::size_t expected;  // 0: refused
    std::string bytes;     // expected bytes when accepted
  };
  const Case cases[] = {
      // Invalid input gives 0.
      {&kBase64, "abc", 8, 0, ""},
      {&kBase64, "ab*d", 8, 0, ""},
      {&kBase64, "=AAA", 8, 0, ""},  // the first two must be data
      {&kBase64, "A=AA", 8, 0, ""},
      {&kBase64, "\x80" "AAA", 8, 0, ""},
      {&kBase32, "MY=====", 8, 0, ""},
      {&kBase32, "M=======", 8, 0, ""},
      {&kBase32, "MY1=====", 8, 0, ""},
      {&kBase16, "0AF", 8, 0, ""},
      {&kBase16, "0G", 8, 0, ""},
      {&kBase16, "==", 8, 0, ""},
      // The pad quirk: pads are not checked for position (a pad counts 0).
      {&kBase64, "YW=I", 3, 3, std::string("a\x60\x08", 3)},
      // After a padded group the next group is stored at out + count.
      {&kBase64, "YWI=YWJj", 5, 5, "ababc"},
      {&kBase64, "Zg==Zg==", 2, 2, "ff"},
      {&kBase32, "MY======MZXQ====", 3, 3, "ffo"},
      // Lower case.
      {&kBase32, "mzxw6ytb", 5, 5, "fooba"},
      {&kBase16, "0aff", 2, 2, std::string("\x0A\xFF", 2)},
      // Capacity: exactly the counted bytes fit; one less is refused.
      {&kBase64, "Zm9vYmFy", 6, 6, "foobar"},
      {&kBase64, "Zm9vYmFy", 5, 0, ""},
      {&kBase64, "Zg==", 1, 1, "f"},
      {&kBase64, "Zg==", 0, 0, ""},
      {&kBase64, "Zm8=", 1, 0, ""},
      {&kBase32, "MZXW6YTB", 5, 5, "fooba"},
      {&kBase32, "MZXW6YTB", 4, 0, ""},
      {&kBase32, "MZXW6===", 3, 3, "foo"},
      {&kBase32, "MZXW6YQ=", 3, 0, ""},
      {&kBase16, "666F", 2, 2, "fo"},
      {&kBase16, "666F", 1, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.family->name) + " \"" + c.text + "\" capacity " + std::to_string(c.capacity));
    auto text = ExactText(c.text);
    auto out = ExactOut(c.capacity);
    const std::size_t n = c.family->decode(out.get(), c.capacity, text.get(), c.text.size());
    EXPECT_EQ(n, c.expected);
    if (c.expected == 0) {
      EXPECT_TRUE(AllSentinel(out.get(), c.capacity)) << "a refused decode wrote";
    } else {
      EXPECT_EQ(Bytes(out.get(), out.get() + n), B(c.bytes));
    }
  }
  // The pad quirk side by side: decode counts 3, validate rejects.
  EXPECT_EQ(Base64Validate("YW=I", 4), -2);
  // NULL pointers.
  std::uint8_t out[8];
  const Family* families[] = {&kBase64, &kBase32, &kBase16};
  for (const Family* f : families) {
    EXPECT_EQ(f->decode(nullptr, 8, "AAAAAAAA", 8), 0u) << f->name;
    EXPECT_EQ(f->decode(out, 8, nullptr, 8), 0u) << f->name;
  }
}

TEST(Codecs, LengthsAndBlocks) {
  EXPECT_EQ(Base64EncodedLength(0), 1u);
  EXPECT_EQ(Base64EncodedLength(1), 5u);
  EXPECT_EQ(Base64EncodedLength(3), 5u);
  EXPECT_EQ(Base64EncodedLength(4), 9u);
  EXPECT_EQ(Base64DecodedLength(8), 6u);
  EXPECT_EQ(Base64DecodedLength(7), 0u);
  EXPECT_EQ(Base32EncodedLength(5), 9u);
  EXPECT_EQ(Base32EncodedLength(6), 17u);
  EXPECT_EQ(Base32DecodedLength(16), 10u);
  EXPECT_EQ(Base32DecodedLength(12), 0u);
  EXPECT_EQ(Base16EncodedLength(3), 7u);
  EXPECT_EQ(Base16DecodedLength(4), 2u);
  EXPECT_EQ(Base16DecodedLength(3), 0u);
  EXPECT_EQ(CodecDecodedLength(8, 0, 3), 0u);
  EXPECT_EQ(CodecEncodedLength(8, 0, 4), 0u);

  char out4[4];
  const std::uint8_t f[3] = {'f', 'o', 'o'};
  EXPECT_EQ(Base64EncodeBlock(f, out4, 1), 4);
  EXPECT_EQ(std::string(out4, 4), "Zg==");
  EXPECT_EQ(B64EncodeBlock(f, out4, 2), 4);
  EXPECT_EQ(std::string(out4, 4), "Zm8=");
  EXPECT_EQ(B64EncodeBlock(f, out4, 7), 4);  // taken as 3
  EXPECT_EQ(std::string(out4, 4), "Zm9v");
  std::memcpy(out4, "----", 4);
  EXPECT_EQ(B64EncodeBlock(f, out4, 0), 0);
  EXPECT_EQ(std::string(out4, 4), "----");

  std::uint8_t b3[3];
  EXPECT_EQ(Base64DecodeBlock("Zm8=", b3), 2);
  EXPECT_EQ(b3[0], 'f');
  EXPECT_EQ(b3[1], 'o');
  EXPECT_EQ(Base64DecodeBlock("Zg==", b3), 1);
  EXPECT_EQ(Base64DecodeBlock("Zm9v", b3), 3);
  EXPECT_EQ(Base64DecodeBlock("Z*9v", b3), 0);

  char out8[8];
  const std::uint8_t fooba[5] = {'f', 'o', 'o', 'b', 'a'};
  EXPECT_EQ(Base32EncodeBlock(fooba, out8, 4), 8);
  EXPECT_EQ(std::string(out8, 8), "MZXW6YQ=");
  EXPECT_EQ(Base32EncodeBlock(fooba, out8, 0), 0);
  std::uint8_t b5[5];
  EXPECT_EQ(Base32DecodeBlock("MZXW6YTB", b5), 5);
  EXPECT_EQ(Bytes(b5, b5 + 5), B("fooba"));
  EXPECT_EQ(Base32DecodeBlock("MZXW6===", b5), 3);
  EXPECT_EQ(Base32DecodeBlock("MY======", b5), 1);
  EXPECT_EQ(Base32DecodeBlock("M1======", b5), 0);

  char out2[2];
  Base16EncodeByte(0xA7, out2);
  EXPECT_EQ(std::string(out2, 2), "A7");
  std::uint8_t b = 0;
  EXPECT_EQ(Base16DecodePair("a7", &b), 1);
  EXPECT_EQ(b, 0xA7);
  b = 0x11;
  EXPECT_EQ(Base16DecodePair("a-", &b), 0);
  EXPECT_EQ(b, 0x11);
}

// ---------------------------------------------------------------------------
// Log-in encoder

TEST(Codecs, B64EncodeTable) {
  struct Case {
    std::string bytes;
    int length;
    std::string text;
  };
  const Case cases[] = {
      {"user", 4, "dXNlcg=="},
      {"admin123", 8, "YWRtaW4xMjM="},
      {"foobar", 6, "Zm9vYmFy"},
      {"f", 1, "Zg=="},
      {"foo", 0, ""},
      {"foo", -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(B64Encode(c.bytes.data(), c.length), c.text);
  }
  EXPECT_EQ(B64Encode(nullptr, 3), "");
}

// ---------------------------------------------------------------------------
// Packed BCD

TEST(Codecs, BcdTable) {
  const struct {
    std::uint8_t value, bcd;
  } toBcd[] = {{0, 0x00}, {9, 0x09}, {10, 0x10}, {42, 0x42}, {99, 0x99}, {100, 0xFF}, {255, 0xFF}};
  for (const auto& c : toBcd) EXPECT_EQ(ByteToBcd(c.value), c.bcd) << int(c.value);

  const struct {
    std::uint8_t bcd, value;
  } fromBcd[] = {{0x00, 0}, {0x09, 9}, {0x10, 10}, {0x99, 99}, {0x1A, 0xFF},
                 {0x0F, 0xFF}, {0x9F, 0xFF}, {0xA0, 0xFF}, {0xF9, 0xFF}, {0xFF, 0xFF}};
  for (const auto& c : fromBcd) EXPECT_EQ(BcdToByte(c.bcd), c.value) << int(c.bcd);
  for (int v = 0; v < 100; ++v) EXPECT_EQ(BcdToByte(ByteToBcd(static_cast<std::uint8_t>(v))), v);
  for (int v = 0xA0; v <= 0xFF; ++v) EXPECT_EQ(BcdToByte(static_cast<std::uint8_t>(v)), 0xFF) << v;

  const struct {
    std::uint32_t value, bcd;
  } u32[] = {{0, 0}, {7, 0x7}, {12345678, 0x12345678}, {99999999, 0x99999999}, {100000000, 0}, {UINT32_MAX, 0}};
  for (const auto& c : u32) EXPECT_EQ(UInt32ToBcd(c.value), c.bcd) << c.value;
  EXPECT_EQ(BcdToUInt32(0x12345678), 12345678u);
  EXPECT_EQ(BcdToUInt32(0x0000000F), 15u);          // nibbles above 9 count with their value
  EXPECT_EQ(BcdToUInt32(0xFFFFFFFF), 166666665u);
  for (std::uint32_t v : {0u, 1u, 10u, 999999u, 20240229u, 99999999u}) EXPECT_EQ(BcdToUInt32(UInt32ToBcd(v)), v);

  const struct {
    std::uint64_t value, bcd;
  } u64[] = {{0, 0},
             {1234567890123456ull, 0x1234567890123456ull},
             {9999999999999999ull, 0x9999999999999999ull},
             {10000000000000000ull, 0},
             {UINT64_MAX, 0}};
  for (const auto& c : u64) EXPECT_EQ(UInt64ToBcd(c.value), c.bcd) << c.value;
  EXPECT_EQ(BcdToUInt64(0xFFFFFFFFFFFFFFFFull), 16666666666666665ull);
  for (std::uint64_t v : {0ull, 5ull, 4294967296ull, 1234567890123456ull, 9999999999999999ull}) {
    EXPECT_EQ(BcdToUInt64(UInt64ToBcd(v)), v);
  }
}

// ---------------------------------------------------------------------------
// Hex text

TEST(Codecs, HexDigitValueTable) {
  const struct {
    char c;
    int value;
  } cases[] = {{'0', 0}, {'9', 9}, {'a', 10}, {'f', 15}, {'A', 10}, {'F', 15}, {'g', -1},
               {'G', -1}, {' ', -1}, {'\0', -1}, {'=', -1}, {'\x80', -1}, {'\xFF', -1}};
  for (const auto& c : cases) EXPECT_EQ(HexDigitValue(c.c), c.value) << int(c.c);
}

TEST(Codecs, HexToBytesTable) {
  struct Case {
    const char* text;
    std::size_t capacity;
    int result;
    std::string bytes;  // bytes written into a zeroed buffer when accepted
  };
  const Case cases[] = {
      {"", 0, 0, ""},
      {"0aFF", 2, 0, std::string("\x0A\xFF", 2)},
      {"1234", 4, 0, "\x12\x34"},
      {"0G", 1, -1, ""},     // not a hex digit
      {"G0", 1, -1, ""},
      {"12 4", 2, -1, ""},
      {"ABC", 2, -1, ""},    // odd number of digits
      {"A", 1, -1, ""},
      {"AABB", 1, -1, ""},   // does not fit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto out = std::make_unique<std::uint8_t[]>(c.capacity == 0 ? 1 : c.capacity);  // zeroed
    EXPECT_EQ(HexToBytes(out.get(), c.capacity, c.text), c.result);
    if (c.result == 0) {
      EXPECT_EQ(Bytes(out.get(), out.get() + c.bytes.size()), B(c.bytes));
    } else {
      for (std::size_t i = 0; i < c.capacity; ++i) EXPECT_EQ(out[i], 0) << "written on refusal at " << i;
    }
  }
  // The bytes are added to what the buffer holds.
  std::uint8_t held[2] = {0x01, 0xFF};
  EXPECT_EQ(HexToBytes(held, 2, "1002"), 0);
  EXPECT_EQ(held[0], 0x11);
  EXPECT_EQ(held[1], 0x01);
  EXPECT_EQ(HexToBytes(nullptr, 2, "00"), -1);
  EXPECT_EQ(HexToBytes(held, 2, nullptr), -1);
}

TEST(Codecs, HexTextToBytesTable) {
  struct Case {
    const char* text;
    std::size_t capacity;
    std::string bytes;  // exactly the bytes written
  };
  const Case cases[] = {
      {"", 8, ""},
      {"1A2b", 8, "\x1A\x2B"},
      {"ABC", 8, std::string("\x0A\xBC", 2)},  // odd: a leading '0'
      {"7", 8, "\x07"},
      {"zz", 8, std::string("\x00", 1)},       // other characters count 0
      {"g1", 8, "\x01"},
      {"0102030405060708090A", 8, "\x01\x02\x03\x04\x05\x06\x07\x08"},
      {"123", 1, "\x01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto out = ExactOut(c.capacity);
    EXPECT_EQ(HexTextToBytes(out.get(), c.capacity, c.text), 0);
    EXPECT_EQ(Bytes(out.get(), out.get() + c.bytes.size()), B(c.bytes));
    EXPECT_TRUE(AllSentinel(out.get() + c.bytes.size(), c.capacity - c.bytes.size()));
  }
  EXPECT_EQ(HexTextToBytes(nullptr, 8, "12"), 0);
}

// ---------------------------------------------------------------------------
// Day of the week

TEST(Codecs, WeekDayOfTable) {
  const struct {
    int year, month, day, weekday;
  } cases[] = {
      {2000, 1, 1, 6},     // Saturday
      {1582, 10, 15, 5},   // Friday, first Gregorian day
      {1582, 10, 4, 4},    // Thursday, last Julian day
      {1582, 10, 5, -1},   // skipped days
      {1582, 10, 10, -1},
      {1582, 10, 14, -1},
      {2021, 12, 31, 5},   // Friday
      {2024, 2, 29, 4},    // Thursday
      {1900, 3, 1, 4},     // Thursday
      {1583, 1, 1, 6},     // Saturday: January 1583 is Gregorian
      {1582, 11, 1, 1},    // Monday
      {1582, 1, 1, 1},     // Monday (Julian)
      {1, 1, 1, 6},        // Saturday (Julian)
      {0, 1, 1, 4},        // Thursday: 1 BC is a Julian leap year
      {2024, 12, 25, 3},   // Wednesday
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WeekDayOf(c.year, c.month, c.day), c.weekday) << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(Codecs, WeekDayOfNegativeAndOddInput) {
  auto next = [](int d) { return d % 7 + 1; };
  // Negative (astronomical) years stay within 1..7 and follow on day by day.
  for (int year = -401; year <= 1; ++year) {
    const int dec31 = WeekDayOf(year - 1, 12, 31);
    const int jan1 = WeekDayOf(year, 1, 1);
    ASSERT_GE(jan1, 1);
    ASSERT_LE(jan1, 7);
    EXPECT_EQ(jan1, next(dec31)) << year;
    EXPECT_EQ(WeekDayOf(year, 3, 1), WeekDayOf(year + 28, 3, 1)) << year;  // Julian 28-year cycle
  }
  // Month and day are not checked, yet the result is always 1..7.
  const int odd[][3] = {{2000, 0, 0},       {2000, 13, 40},      {-5, -3, -9},
                        {INT_MIN, 1, 1},    {INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, INT_MIN}};
  for (const auto& o : odd) {
    const int d = WeekDayOf(o[0], o[1], o[2]);
    EXPECT_GE(d, 1);
    EXPECT_LE(d, 7);
  }
}

}  // namespace
