#pragma once
// A locale whose decimal point is a comma, for tests of number formatting.
#include <string>

// The locale's name, usable with setlocale and newlocale in this process;
// empty when the machine has none and none could be compiled. When no
// installed locale fits, a German one is compiled with localedef into a
// temporary folder (removed at exit) that LOCPATH then names.
std::string CommaLocaleName();
