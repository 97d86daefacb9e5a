#pragma once
// Texts travel to the platform server and the devices in GBK; inside the
// library and at its interface every text is UTF-8. These two helpers are
// the only crossing points.
#include <string>
#include <string_view>

#include "platform/code_page.h"

constexpr int kWireCodePage = plat::kCodePageGbk;

// A text taken from a server message or a device payload, as UTF-8.
std::string WireToUtf8(std::string_view wire);
// A UTF-8 text as it is put on the wire; unrepresentable characters become '?'.
std::string Utf8ToWire(std::string_view text);

// A fixed-width name field from the wire (zero-padded, not terminated when
// full) as UTF-8. A character that the field's end cut in two is dropped.
std::string WireNameToUtf8(const char* bytes, std::size_t size);

// The longest prefix of the UTF-8 `text` that fits `capacity` bytes with its
// terminating NUL, never cutting a character in two.
std::string FitUtf8(std::string_view text, std::size_t capacity);
