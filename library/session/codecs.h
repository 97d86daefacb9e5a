#pragma once
// Text and number codecs: base16/base32/base64 after RFC 4648,
// the log-in base64 encoder, packed BCD, hex text to bytes and the day of the
// week. Pure functions: no state, no allocation (except B64Encode's string),
// no lock; safe on any thread.
//
// Byte buffers are `void*` / `const void*` at the buffer level and
// `std::uint8_t*` in the block helpers. Every decoder is given the capacity of
// its output and never writes past it.
#include <cstddef>
#include <cstdint>
#include <string>

// ---------------------------------------------------------------------------
// Alphabets, decode tables and descriptors

// "0123456789ABCDEF"
extern const char kBase16Alphabet[17];
// "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567=" (the last character is the pad)
extern const char kBase32Alphabet[34];
// "A..Za..z0..9+/=" (the last character is the pad)
extern const char kBase64Alphabet[66];

// 128-entry decode tables indexed by the character: the value of a data
// character, maximum value + 1 for '=' (32 in base32, 64 in base64; base16 has
// no pad), 0xFF for anything else. Characters of 0x80 and above are invalid.
// Base16 accepts 'a'-'f', base32 'a'-'z' (same values as upper case).
extern const std::uint8_t kBase16DecodeTable[128];
extern const std::uint8_t kBase32DecodeTable[128];
extern const std::uint8_t kBase64DecodeTable[128];

struct CodecDescriptor {
  std::size_t blockSize;      // characters per block
  std::size_t bytesPerBlock;  // bytes per block
  std::size_t maxPad;         // longest pad run allowed
  unsigned maxValue;          // largest data value (pad = maxValue + 1)
  const std::uint8_t* table;  // decode table (128 entries)
};

extern const CodecDescriptor kBase16Codec;  // {2, 1, 0, 15}
extern const CodecDescriptor kBase32Codec;  // {8, 5, 6, 31}
extern const CodecDescriptor kBase64Codec;  // {4, 3, 2, 63}

// ---------------------------------------------------------------------------
// General helpers

// 0 valid; -1 NULL text/table, zero block size or length not a multiple of the
// block size; -2 a bad character (0x80 and above, or not in the table), a data
// character after a pad, or a pad run longer than maxPad. Empty text is valid.
int CodecValidate(const char* text, std::size_t length, std::size_t blockSize, std::size_t maxPad,
                  unsigned maxValue, const std::uint8_t* table);

// bytesPerBlock x length / blockSize; 0 when the length is not a multiple of
// the block size (or the block size is 0). An upper bound: pads are not seen.
std::size_t CodecDecodedLength(std::size_t length, std::size_t blockSize, std::size_t bytesPerBlock);

// charsPerBlock x ceil(length / bytesPerBlock) + 1 (the NUL); 0 when
// bytesPerBlock is 0.
std::size_t CodecEncodedLength(std::size_t length, std::size_t bytesPerBlock, std::size_t charsPerBlock);

// ---------------------------------------------------------------------------
// Log-in base64: same alphabet as Base64Encode

// Base64 of the bytes with '=' padding; empty when bytes is NULL or length < 1.
// (The log-in caller replaces '=' by '!' itself.)
std::string B64Encode(const void* bytes, int length);

// Encodes `count` (1..3) bytes of `in` as four characters into out[0..3], '='
// for each missing byte; no NUL. Returns 4, or 0 (nothing written) when a
// pointer is NULL or count < 1. A count above 3 is taken as 3.
int B64EncodeBlock(const std::uint8_t* in, char* out, int count);

// ---------------------------------------------------------------------------
// Base64 (4 characters, 3 bytes per block)

// Writes the text and a NUL into `out`, which must hold
// Base64EncodedLength(length) characters. Returns the characters written (NUL
// not counted); 0 for a NULL pointer ("" is written when only bytes is NULL
// and out is not) and for length 0 ("").
std::size_t Base64Encode(char* out, const void* bytes, std::size_t length);

// Decodes groups of 4 characters: the first two must be data characters, the
// last two data or '='. Per group the count grows by 3, by 1 when the 3rd and
// 4th are '=', by 2 when only the 4th is '='; the next group is stored at
// out + count. The position of pads is not otherwise checked ("YW=I" counts 3;
// a pad counts as value 0 in the bytes). Returns the number of bytes stored;
// 0, with nothing written, for a NULL pointer, a length that is not a multiple
// of 4, an invalid character, or a count larger than `capacity`.
std::size_t Base64Decode(void* out, std::size_t capacity, const char* text, std::size_t length);

// Block helpers: EncodeBlock as B64EncodeBlock (count 1..3, returns 4 or 0).
// DecodeBlock reads 4 characters, writes all 3 bytes of out[0..2] and returns
// the group's byte count (1..3) by the Base64Decode rule, or 0 (nothing
// written) for an invalid character or a NULL pointer.
int Base64EncodeBlock(const std::uint8_t* in, char* out, int count);
int Base64DecodeBlock(const char* in, std::uint8_t* out);

// CodecValidate with block 4, up to 2 pads, values 0..63.
int Base64Validate(const char* text, std::size_t length);
std::size_t Base64DecodedLength(std::size_t length);  // (4, 3)
std::size_t Base64EncodedLength(std::size_t length);  // (3, 4), NUL included

// ---------------------------------------------------------------------------
// Base32 (8 characters, 5 bytes per block)

// As Base64Encode; `out` must hold Base32EncodedLength(length) characters.
std::size_t Base32Encode(char* out, const void* bytes, std::size_t length);

// Decodes groups of 8 characters: the first two data, the rest data or '='.
// Count per group: +5 when the 8th is data, else +4 when the 6th is data, else
// +3 when the 5th is data, else +2 when the 3rd is data, else +1. Otherwise as
// Base64Decode (capacity, compaction, 0 with nothing written on failure).
std::size_t Base32Decode(void* out, std::size_t capacity, const char* text, std::size_t length);

// EncodeBlock: count 1..5 bytes to 8 characters ('=' padded), returns 8 or 0.
// DecodeBlock: 8 characters to out[0..4], returns the count (1..5) or 0.
int Base32EncodeBlock(const std::uint8_t* in, char* out, int count);
int Base32DecodeBlock(const char* in, std::uint8_t* out);

// CodecValidate with block 8, up to 6 pads, values 0..31.
int Base32Validate(const char* text, std::size_t length);
std::size_t Base32DecodedLength(std::size_t length);  // (8, 5)
std::size_t Base32EncodedLength(std::size_t length);  // (5, 8), NUL included

// ---------------------------------------------------------------------------
// Base16 (2 characters per byte, upper-case digits)

// Writes 2 x length upper-case digits and a NUL; returns 2 x length. 0 for a
// NULL pointer; length 0 writes "" and returns 0.
std::size_t Base16Encode(char* out, const void* bytes, std::size_t length);

// Bytes decoded (length / 2, either case accepted); 0, with nothing written,
// for a NULL pointer, an odd length, a non-hex character or length / 2 larger
// than `capacity`.
std::size_t Base16Decode(void* out, std::size_t capacity, const char* text, std::size_t length);

// EncodeByte writes two digits to out[0..1] (no NUL). DecodePair reads two
// digits and returns 1 with the byte stored, or 0 (nothing written).
void Base16EncodeByte(std::uint8_t byte, char* out);
int Base16DecodePair(const char* in, std::uint8_t* out);

// CodecValidate with block 2, no padding, values 0..15.
int Base16Validate(const char* text, std::size_t length);
std::size_t Base16DecodedLength(std::size_t length);  // (2, 1)
std::size_t Base16EncodedLength(std::size_t length);  // (1, 2), NUL included

// ---------------------------------------------------------------------------
// Packed BCD: one decimal digit per nibble, least significant in the lowest

// 0x00..0x99 for 0..99; 0xFF for 100 and more.
std::uint8_t ByteToBcd(std::uint8_t value);
// 0..99; 0xFF when the low nibble is above 9 or the byte above 0x9F (a high
// nibble of 0xA..0xF).
std::uint8_t BcdToByte(std::uint8_t bcd);
// 8 packed digits; 0 when value > 99999999.
std::uint32_t UInt32ToBcd(std::uint32_t value);
// Sum of nibble i x 10^i over 8 nibbles; nibbles above 9 count with their value.
std::uint32_t BcdToUInt32(std::uint32_t bcd);
// 16 packed digits; 0 when value > 9999999999999999.
std::uint64_t UInt64ToBcd(std::uint64_t value);
// Sum of nibble i x 10^i over 16 nibbles; nibbles above 9 count with their value.
std::uint64_t BcdToUInt64(std::uint64_t bcd);

// ---------------------------------------------------------------------------
// Hex text

// 0-15 for '0'-'9', 'A'-'F', 'a'-'f'; -1 for any other character.
int HexDigitValue(char c);

// Reads the NUL-terminated hex text (either case) into `out`: pair k is ADDED
// to out[k] (16 x first digit + second, modulo 256), so the caller passes a
// zeroed buffer. Returns 0; -1, with nothing written, for a NULL pointer, a
// character that is not a hex digit, an odd number of digits, or more than
// `capacity` bytes.
int HexToBytes(void* out, std::size_t capacity, const char* text);

// Lenient reader (also used by the demonstration program): digit values
// '0'-'9' 0-9, 'A'-'F'/'a'-'f' 10-15, any other character 0; an odd-length
// text is read as if it had a leading '0'. Stores byte k = 16 x digit(2k) +
// digit(2k+1) for at most min(capacity, (length + 1) / 2) bytes, nothing else.
// Returns 0 (also for NULL pointers, which write nothing).
int HexTextToBytes(void* out, std::size_t capacity, const char* text);

// ---------------------------------------------------------------------------
// Day of the week

// 1 Monday .. 7 Sunday; -1 for 5 to 14 October 1582. Dates from 15 October
// 1582 on (judged on the date as given, so January 1583 is Gregorian) use the
// Gregorian rule, earlier dates the Julian rule. Zeller's congruence with
// floor division and modulo throughout (years in astronomical numbering, year
// 0 = 1 BC), so the result is 1..7 for any input; month and day are not
// checked (other months than 1 and 2 enter the formula as given).
int WeekDayOf(int year, int month, int day);
