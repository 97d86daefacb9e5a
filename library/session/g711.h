#pragma once
// G.711 coding of 16-bit linear PCM: A-law, which the audio call uses, and
// µ-law with the conversions between the two laws.
#include <cstdint>

std::uint8_t LinearToALaw(std::int16_t sample);
std::int16_t ALawToLinear(std::uint8_t code);

// µ-law in its 14-bit form (the two low bits of the sample are not coded).
std::uint8_t LinearToULaw(std::int16_t sample);
std::int16_t ULawToLinear(std::uint8_t code);

// By the conversion tables of G.711.
std::uint8_t ALawToULaw(std::uint8_t code);
std::uint8_t ULawToALaw(std::uint8_t code);
