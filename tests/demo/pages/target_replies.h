#pragma once
// The library's own texts for reply frames of the page fixture's target
// node, and the same texts under another spelling of a name or key.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/demo/page_fixture.h"
#include "tests/support/device_replies.h"

namespace demotest {

// The text the library delivers for the frame; a frame it gives no text for
// fails the test.
inline std::string Decoded(std::uint8_t code, std::uint8_t function, std::vector<std::uint8_t> payload,
                           std::uint32_t nvsid = PageFixture::kNvsid,
                           std::uint16_t node = PageFixture::kNodeAddress) {
  std::string text = testsupport::LibraryReplyText(nvsid, {PageFixture::kNetId, node, code, function, std::move(payload)});
  EXPECT_FALSE(text.empty()) << "no text for function " << static_cast<int>(function);
  return text;
}

// The text with the first `from` replaced by `to`.
inline std::string Renamed(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace demotest
