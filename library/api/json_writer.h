#pragma once
// The compact notation of the message texts, written from a JsonCpp value
// tree: no white space, object members in ascending byte order of their
// names, reals as FormatJsonReal writes them, bytes of 0x80 and above copied
// unchanged, one line feed after the root value.
#include <json/json.h>

#include <cstddef>
#include <string>
#include <string_view>

std::string WriteCompactJson(const Json::Value& root);
// The same notation of one value, appended to `out` without the line feed.
void AppendCompactJson(std::string& out, const Json::Value& value);

// The bytes of the text between the quotes that WriteCompactJson writes for
// a string value: \" \\ \b \f \n \r \t, other bytes below 0x20 as \u00XX
// (upper-case hex), every other byte as it is.
void AppendJsonStringContent(std::string& out, std::string_view bytes);
// How many bytes AppendJsonStringContent would append.
std::size_t JsonStringContentLength(std::string_view bytes);
