#pragma once
// Reading single members of a JSON message text, for the exported readers.
// Every call parses the whole text. A null text or name, a text that is no
// JSON object, a missing member or one of another kind gives the
// not-present result: 0, or no text.
// "Number" means what JsonCpp converts: numbers, true (1), false and null
// (0); reals are truncated toward zero when read as integers.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A root member as unsigned 32-bit, when convertible to it (0..4294967295).
std::uint32_t ReadHeaderUInt(const char* text, const char* member);
// A root member that is a string.
std::optional<std::string> ReadHeaderString(const char* text, const char* member);

// Whether the root has a "data" object with a member of that name.
bool HasDataElement(const char* text, const char* name);

// A member of the element "data"[name] that is a string.
std::optional<std::string> ReadElementString(const char* text, const char* name, const char* member);
// A member of the element as signed 32-bit, when convertible to it.
std::int32_t ReadElementInt(const char* text, const char* name, const char* member);
// A member of the element as unsigned 32-bit, when convertible to it.
std::uint32_t ReadElementUInt(const char* text, const char* name, const char* member);
// A member of the element that is a number, as a float through double.
float ReadElementFloat(const char* text, const char* name, const char* member);
// The elements of an array member, each as a float (0 for an element that is
// not a number); nothing when the member is absent or not an array.
std::vector<float> ReadElementFloatArray(const char* text, const char* name, const char* member);
