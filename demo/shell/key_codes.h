#pragma once
// Infrared key words and their key codes.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

using KeyCodeTable = std::map<std::string, std::uint8_t, std::less<>>;

// The 61 key words; several words share a code.
KeyCodeTable MakeKeyCodeTable();

// The code of a word (exact, case-sensitive); 0 for a word not in the table.
std::uint8_t LookUpKeyCode(const KeyCodeTable& table, std::string_view word);
