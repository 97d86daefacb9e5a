#pragma once
// Text helpers of the program: printf formatting into std::string and
// cutting UTF-8 text without splitting a character.
#include <cstdarg>
#include <cstddef>
#include <string>

std::string FormatV(const char* format, va_list args);
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Keeps at most `maxChars` characters (code points) of the text.
std::string TruncateUtf8Chars(std::string text, std::size_t maxChars);

// Keeps at most `maxBytes` bytes of the text, never half a character.
std::string TruncateUtf8Bytes(std::string text, std::size_t maxBytes);
