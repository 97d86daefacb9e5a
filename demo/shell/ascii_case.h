#pragma once
// The program's one comparison of words ignoring case: ASCII letters only,
// as the library's message words are ASCII; other bytes compare exactly.
#include <string_view>

bool EqualsIgnoringCase(std::string_view a, std::string_view b);
