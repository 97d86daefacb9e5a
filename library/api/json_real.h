#pragma once
// The notation of reals in the message texts: 16 significant digits with a
// decimal point ("%#.16g"), then the zeros after the last other digit cut
// down to one ("23.50", "20.0", "0.3000000119209290"). Independent of the
// process locale.
#include <string>

// The text of one real. NaN and the infinities, which have no JSON number,
// are written as null; a text that would end in its decimal point gets a
// zero after it.
std::string FormatJsonReal(double value);

// The trailing-zero rule alone, applied to a "%#.16g" text.
std::string TrimJsonRealZeros(std::string text);
