#pragma once
// One call of an export as the recording table keeps it.
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace demotest {

struct RecordedCall {
  RecordedCall(std::string callName, std::vector<long long> callArgs = {}, std::vector<std::string> callTexts = {},
               std::vector<double> callReals = {}, std::vector<std::vector<std::uint8_t>> callBytes = {})
      : name(std::move(callName)),
        args(std::move(callArgs)),
        texts(std::move(callTexts)),
        reals(std::move(callReals)),
        bytes(std::move(callBytes)) {}
  std::string name;
  std::vector<long long> args;    // the integer arguments (the handle too), in order
  std::vector<std::string> texts;  // the text arguments, in order; "(null)" for a null text
  std::vector<double> reals;       // the float and double arguments, in order
  std::vector<std::vector<std::uint8_t>> bytes;  // each byte buffer passed with its length
  bool operator==(const RecordedCall&) const = default;
};

// How a test failure shows a call: its name and its arguments by kind.
inline void PrintTo(const RecordedCall& call, std::ostream* out) {
  *out << call.name << "(";
  for (long long arg : call.args) *out << " " << arg;
  for (const std::string& text : call.texts) *out << " \"" << text << "\"";
  for (double real : call.reals) *out << " " << real;
  for (const std::vector<std::uint8_t>& bytes : call.bytes) *out << " [" << bytes.size() << " bytes]";
  *out << " )";
}

}  // namespace demotest
