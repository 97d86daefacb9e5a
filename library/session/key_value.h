#pragma once
#include <string>
#include <string_view>

// The value of `key` in a text of "key=value;" items: the text after the first
// occurrence of the key and the one character after it, up to the next ';'.
// Empty when the key does not occur.
std::string GetKeyValue(std::string_view text, std::string_view key);
