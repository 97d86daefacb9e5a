#pragma once
// Code-page conversion with the behaviour of the Windows converters: a
// character that the target cannot represent becomes '?' and sets the loss
// flag; an invalid input sequence becomes '?' (U+FFFD towards UTF-16).
#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

constexpr int kCodePageGbk = 936;
constexpr int kCodePageUtf16Le = 1200;
constexpr int kCodePageUtf16Be = 1201;
constexpr int kCodePageUtf8 = 65001;

// The process code page: 65001 (UTF-8), unless a test has overridden it.
int ProcessCodePage();
// Test-only: makes ProcessCodePage() return `codePage`; 0 restores UTF-8.
void SetProcessCodePageForTesting(int codePage);

// The iconv name of a Windows code page (0 = the process code page), or
// nullptr when the code page is not known here.
const char* IconvNameOfCodePage(int codePage);
bool IsCodePageAvailable(int codePage);

// Bytes in `codePage` to UTF-16. False when the code page is unknown; invalid
// input sequences become U+FFFD and make `*invalid` true when given.
bool MultiByteToWide(int codePage, std::string_view bytes, std::u16string& out, bool* invalid = nullptr);

// UTF-16 to bytes in `codePage`. False when the code page is unknown.
// Unrepresentable characters and unpaired surrogates become '?' and set `*lost`.
bool WideToMultiByte(int codePage, std::u16string_view text, std::string& out, bool* lost = nullptr);

// Bytes in `from` to bytes in `to` through UTF-16; both may be 0 for the
// process code page. False when either code page is unknown.
bool ConvertCodePage(int from, int to, std::string_view bytes, std::string& out, bool* lost = nullptr);

// Length in bytes of the character that starts at `p`, never beyond `end`
// (at least 1 when p < end, 0 when p >= end), in `codePage` (0 = process).
std::size_t CharLength(int codePage, const char* p, const char* end);

}  // namespace plat
