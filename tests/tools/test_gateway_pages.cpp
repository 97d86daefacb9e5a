// The gateway list pages sent after "connect".
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/gateway_pages.h"

namespace {

using standin::Gateway;
using standin::GatewayListMessages;
using standin::kGatewayAdminRead;
using standin::kGatewayAlarm;
using standin::kGatewayOnline;
using standin::kListPageSize;

std::vector<std::uint8_t> Inflate(const std::string& body) {
  std::vector<std::uint8_t> out(8192);
  uLongf size = out.size();
  if (uncompress(out.data(), &size, reinterpret_cast<const Bytef*>(body.data()), body.size()) != Z_OK) return {};
  out.resize(size);
  return out;
}

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> out;
  for (int v : values) out.push_back(static_cast<std::uint8_t>(v));
  return out;
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t size) {
  return {bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + size)};
}

TEST(GatewayPages, OnePageLaysOutHeaderAndEntriesLittleEndian) {
  const std::vector<Gateway> list = {
      {1000001, kGatewayOnline, "Lab gateway"},
      {2000002, kGatewayOnline | kGatewayAdminRead | kGatewayAlarm, "0123456789ABCDEF"},
      {-2, 0, "a name longer than sixteen"},
  };
  const auto messages = GatewayListMessages(list, 128, 4321);
  ASSERT_TRUE(messages.has_value());
  ASSERT_EQ(messages->size(), 1u);
  const auto& m = messages->front();
  EXPECT_EQ(m.kind, standin::MessageKind::Answer);
  EXPECT_EQ(m.ackCode, 200);
  EXPECT_EQ(m.cmd, "ack");
  EXPECT_EQ(m.ctype, "");
  EXPECT_EQ(m.contentType, "zip");
  EXPECT_EQ(m.cseq, 4321);

  const auto page = Inflate(m.body);
  ASSERT_EQ(page.size(), kListPageSize);
  EXPECT_EQ(Slice(page, 0, 8), Bytes({0, 0, 0, 0, 3, 0, 0, 0}));
  EXPECT_EQ(Slice(page, 8, 24), Bytes({0x41, 0x42, 0x0F, 0x00, 0x01, 0, 0, 0, 'L', 'a', 'b', ' ', 'g', 'a', 't', 'e',
                                       'w', 'a', 'y', 0, 0, 0, 0, 0}));
  EXPECT_EQ(Slice(page, 32, 24), Bytes({0x82, 0x84, 0x1E, 0x00, 0x01, 0, 0, 0xC0, '0', '1', '2', '3', '4', '5', '6', '7',
                                        '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'}));
  EXPECT_EQ(Slice(page, 56, 24), Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 'a', ' ', 'n', 'a', 'm', 'e', ' ', 'l',
                                        'o', 'n', 'g', 'e', 'r', ' ', 't', 'h'}));
  for (std::size_t i = 80; i < page.size(); ++i) ASSERT_EQ(page[i], 0) << "at " << i;
}

TEST(GatewayPages, SeveralPagesCarryTheirNumberAndTheirOwnCount) {
  std::vector<Gateway> list;
  for (int i = 0; i < 5; ++i) list.push_back({100 + i, kGatewayOnline, "g" + std::to_string(i)});
  const auto messages = GatewayListMessages(list, 2, 9);
  ASSERT_TRUE(messages.has_value());
  ASSERT_EQ(messages->size(), 3u);
  const std::vector<std::string> ctypes = {"1/3", "2/3", "3/3"};
  const std::vector<int> counts = {2, 2, 1};
  for (std::size_t p = 0; p < 3; ++p) {
    SCOPED_TRACE(p);
    const auto& m = (*messages)[p];
    EXPECT_EQ(m.ctype, ctypes[p]);
    EXPECT_EQ(m.cseq, 9);
    const auto page = Inflate(m.body);
    ASSERT_EQ(page.size(), kListPageSize);
    EXPECT_EQ(page[4], counts[p]);
    EXPECT_EQ(page[8], 100 + 2 * p);  // the page's first entry
    EXPECT_EQ(page[16], 'g');
    EXPECT_EQ(page[17], '0' + 2 * p);
  }
}

TEST(GatewayPages, EmptyListGivesOneEmptyPage) {
  const auto messages = GatewayListMessages({});
  ASSERT_TRUE(messages.has_value());
  ASSERT_EQ(messages->size(), 1u);
  EXPECT_EQ(messages->front().ctype, "");
  EXPECT_EQ(Inflate(messages->front().body), std::vector<std::uint8_t>(kListPageSize, 0));
}

TEST(GatewayPages, EntriesPerPageOutsideOneTo128AreRefused) {
  const std::vector<Gateway> list = {{1, kGatewayOnline, "x"}};
  EXPECT_FALSE(GatewayListMessages(list, 0).has_value());
  EXPECT_FALSE(GatewayListMessages(list, 129).has_value());
  EXPECT_TRUE(GatewayListMessages(list, 128).has_value());
}

TEST(GatewayPages, APageHoldsAtMost128Entries) {
  std::vector<Gateway> list(130, Gateway{7, kGatewayOnline, "same"});
  const auto page = standin::ListPage(list);
  ASSERT_EQ(page.size(), kListPageSize);
  EXPECT_EQ(page[4], 128);
  EXPECT_EQ(page[8 + 127 * 24], 7);
}

}  // namespace
