#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "library/session/adapter_records_vehicles.h"
#include "library/session/reply_routing.h"
#include "test_vehicles_record.h"

using vehicles_test::Number;
using vehicles_test::Text;

namespace {

constexpr std::uint32_t kNvs = 1000001;

std::atomic<std::time_t> gNow{1700000000};

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (std::uint8_t b : bytes) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(b));
    text += digits;
  }
  return text;
}

// The record's hex text in slices of 48 characters, the last padded with '0'.
std::vector<std::string> Slices(const std::vector<std::uint8_t>& record) {
  std::string text = Hex(record);
  text.resize((text.size() + 47) / 48 * 48, '0');
  std::vector<std::string> slices;
  for (std::size_t at = 0; at < text.size(); at += 48) slices.push_back(text.substr(at, 48));
  return slices;
}

// Routes one weather-station part from node `node`; the message text or "".
std::string Part(std::uint16_t node, std::uint8_t key, std::uint8_t expected, std::uint8_t index,
                 const std::string& slice) {
  IotReply r;
  r.nvsid = kNvs;
  r.netId = 1;
  r.nodeAddress = node;
  r.commandCode = 103;
  r.functionByte = 0x52;
  r.payload.assign(4 + slice.size(), 0);
  r.payload[0] = 3;
  r.payload[1] = key;
  r.payload[2] = expected;
  r.payload[3] = index;
  std::copy(slice.begin(), slice.end(), r.payload.begin() + 4);
  return RouteIotReply(r).text;
}

std::string Station(std::uint16_t node) { return vehicles_test::StationMessage(1, node, kNvs); }

// Every test starts 1000 s after the one before: what earlier tests left in
// the table is stale and goes with the first part.
class WeatherStation : public ::testing::Test {
 protected:
  void SetUp() override {
    gNow += 1000;
    SetAdapterRecordClockForTesting([] { return gNow.load(); });
  }
  void TearDown() override { SetAdapterRecordClockForTesting(nullptr); }

  const std::vector<std::string> slices = Slices(vehicles_test::StationRecord());
};

}  // namespace

TEST_F(WeatherStation, ThreePartsInAnyOrderGiveOneMessageAtTheLast) {
  ASSERT_EQ(slices.size(), 3u);
  std::vector<std::uint8_t> order = {1, 2, 3};
  std::uint8_t key = 10;
  do {
    ++key;
    EXPECT_EQ(Part(5, key, 3, order[0], slices[order[0] - 1u]), "");
    EXPECT_EQ(Part(5, key, 3, order[1], slices[order[1] - 1u]), "");
    EXPECT_EQ(Part(5, key, 3, order[2], slices[order[2] - 1u]), Station(5));
    // The record is gone: its parts start a new one.
    EXPECT_EQ(Part(5, key, 3, order[2], slices[order[2] - 1u]), "");
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(WeatherStation, SignedValuesBcdAndRealsAsWritten) {
  std::vector<std::uint8_t> record = vehicles_test::StationRecord();
  record[1] = 0x5A;  // minutes: not BCD
  const auto set16 = [&](std::size_t at, std::uint16_t value) {
    record[at] = static_cast<std::uint8_t>(value >> 8);
    record[at + 1] = static_cast<std::uint8_t>(value);
  };
  record[7] = 0x80, record[8] = 0x00, record[9] = 0x01, record[10] = 0x2C;  // -0.300
  set16(15, 0x800F);                                                         // -1.5
  set16(25, 0xFFFF);                                                         // -3276.7
  set16(29, 0x0001);                                                         // 0.01
  set16(41, 0x012C);                                                         // 300
  set16(43, 0x8005);                                                         // -5
  record[54] = 0x85;                                                         // -0.5
  const auto parts = Slices(record);
  EXPECT_EQ(Part(5, 1, 3, 1, parts[0]), "");
  EXPECT_EQ(Part(5, 1, 3, 2, parts[1]), "");
  EXPECT_EQ(Part(5, 1, 3, 3, parts[2]),
            vehicles_test::Message(
                "ADAPTER", "data",
                {
                    {"Type", Text("WS")},
                    {"Time", Text("2024-05-17 08:255:15")},
                    {"UltravioletRadiationAccu", Number(3, "MJ/㎡", "-0.3000000119209290")},
                    {"GlobalRadiationAccu", Number(3, "MJ/㎡", "15.50")},
                    {"GroundTemperature", Number(1, "℃", "[-1.50,-2.50,10.0,0.0,0.50]", "array")},
                    {"Temperature", Number(1, "℃", "-3276.699951171875")},
                    {"Humidity", Number(1, "%RH", "65.50")},
                    {"DewTemperature", Number(2, "℃", "0.009999999776482582")},
                    {"AtmosphericPressure", Number(1, "hPa", "1013.50")},
                    {"Altitude", Number(1, "m", "45.50")},
                    {"WindSpeed", Number(1, "m/s", "3.50")},
                    {"WindSppedIn2min", Number(1, "m/s", "3.0")},
                    {"WindSpeedIn10min", Number(1, "m/s", "2.50")},
                    {"WindDirection", Number(0, "°", "300")},
                    {"UltravioletRadiation", Number(0, "W/㎡", "-5")},
                    {"GlobalRadiation", Number(0, "W/㎡", "650")},
                    {"Rainfall", Number(1, "mm", "12.50")},
                    {"Voltage", Number(1, "V", "12.50")},
                    {"SunshineDuration", Number(1, "h", "-0.50")},
                },
                1, 5, kNvs));
}

TEST_F(WeatherStation, AStaleRecordIsDiscardedBeforeTheNextPart) {
  // Nine seconds are not too long.
  EXPECT_EQ(Part(5, 1, 3, 1, slices[0]), "");
  EXPECT_EQ(Part(5, 1, 3, 2, slices[1]), "");
  gNow += 9;
  EXPECT_EQ(Part(5, 1, 3, 3, slices[2]), Station(5));
  // Ten are: the third part starts a record of its own.
  EXPECT_EQ(Part(5, 2, 3, 1, slices[0]), "");
  EXPECT_EQ(Part(5, 2, 3, 2, slices[1]), "");
  gNow += 10;
  EXPECT_EQ(Part(5, 2, 3, 3, slices[2]), "");
  EXPECT_EQ(TheAdapterRecords().Size(), 1u);
  EXPECT_EQ(Part(5, 2, 3, 1, slices[0]), "");
  EXPECT_EQ(Part(5, 2, 3, 2, slices[1]), Station(5));
  // A part of any record ends the stale ones.
  EXPECT_EQ(Part(5, 3, 3, 1, slices[0]), "");
  EXPECT_EQ(Part(6, 3, 3, 1, slices[0]), "");
  gNow += 10;
  EXPECT_EQ(Part(7, 9, 3, 1, slices[0]), "");
  EXPECT_EQ(TheAdapterRecords().Size(), 1u);
}

TEST_F(WeatherStation, ARepeatedPartReplacesItsSliceAndCountsOnce) {
  const std::string wrong(48, 'F');
  EXPECT_EQ(Part(5, 1, 3, 1, wrong), "");
  EXPECT_EQ(Part(5, 1, 3, 1, slices[0]), "");
  EXPECT_EQ(Part(5, 1, 3, 2, slices[1]), "");
  EXPECT_EQ(Part(5, 1, 3, 3, slices[2]), Station(5));
}

TEST_F(WeatherStation, PartsOutsideTheRecordAreDropped) {
  EXPECT_EQ(Part(5, 1, 3, 1, slices[0]), "");
  ASSERT_EQ(TheAdapterRecords().Size(), 1u);
  struct Dropped {
    std::uint8_t key, expected, index;
  };
  const Dropped dropped[] = {
      {1, 3, 0}, {1, 3, 11}, {1, 3, 255}, {1, 3, 4}, {1, 3, 10},  // outside 1 to 10, or past the record's 3
      {2, 0, 1}, {2, 11, 1}, {2, 2, 3},                           // a new record of 0, 11 parts, or past its 2
  };
  for (const auto& d : dropped) EXPECT_EQ(Part(5, d.key, d.expected, d.index, slices[0]), "") << int(d.index);
  EXPECT_EQ(TheAdapterRecords().Size(), 1u);
  // The record's own expected count holds; the parts still complete it.
  EXPECT_EQ(Part(5, 1, 9, 2, slices[1]), "");
  EXPECT_EQ(Part(5, 1, 3, 3, slices[2]), Station(5));
  EXPECT_EQ(TheAdapterRecords().Size(), 0u);
}

TEST_F(WeatherStation, RecordsThatAreNotHexOrTooShortAreDropped) {
  auto record = [&](std::uint8_t key, std::uint8_t expected, const std::vector<std::string>& parts) {
    std::string last;
    for (std::size_t i = 0; i < parts.size(); ++i)
      last = Part(5, key, expected, static_cast<std::uint8_t>(i + 1), parts[i]);
    return last;
  };
  std::string bad = slices[1];
  bad[7] = 'G';
  EXPECT_EQ(record(1, 3, {slices[0], bad, slices[2]}), "");
  EXPECT_EQ(record(2, 2, {slices[0], slices[1]}), "");  // 48 bytes
  // A slice cut short ends the text there: 96 + 13 characters are too few
  // (and odd), 96 + 14 are the 55 bytes of a record.
  EXPECT_EQ(record(3, 3, {slices[0], slices[1], slices[2].substr(0, 13)}), "");
  EXPECT_EQ(record(4, 3, {slices[0], slices[1], slices[2].substr(0, 12)}), "");
  EXPECT_EQ(record(5, 3, {slices[0], slices[1], slices[2].substr(0, 14)}), Station(5));
  EXPECT_EQ(record(6, 3, {slices[0], slices[1].substr(0, 40), slices[2]}), "");  // text ends after 88
  EXPECT_EQ(record(7, 3, {slices[0], slices[1], ""}), "");
  EXPECT_EQ(Part(5, 8, 3, 1, ""), "");  // a part with no payload past its header
  EXPECT_EQ(TheAdapterRecords().Size(), 1u);
}

TEST_F(WeatherStation, TwoAdaptersWithTheSameKeyKeepTheirRecords) {
  auto other = vehicles_test::StationRecord();
  other[0] = 0x59;  // 59 seconds
  const auto otherSlices = Slices(other);
  for (std::uint8_t index = 1; index <= 2; ++index) {
    EXPECT_EQ(Part(5, 7, 3, index, slices[index - 1u]), "");
    EXPECT_EQ(Part(6, 7, 3, index, otherSlices[index - 1u]), "");
  }
  std::string expected = Station(6);
  expected.replace(expected.find("08:30:15"), 8, "08:30:59");
  EXPECT_EQ(Part(6, 7, 3, 3, otherSlices[2]), expected);
  EXPECT_EQ(Part(5, 7, 3, 3, slices[2]), Station(5));
}

// Two sessions see the same adapter's parts, each on its receiving thread;
// the threads take turns, part by part, so that their parts interleave.
TEST_F(WeatherStation, TwoSessionsSeeingTheSameAdapterEachGetTheRecord) {
  std::mutex mutex;
  std::condition_variable turnChanged;
  int turn = 0;  // even: the first thread, odd: the second
  std::vector<std::string> texts[2];
  auto receive = [&](int self) {
    for (std::uint8_t index = 1; index <= 3; ++index) {
      std::unique_lock lock(mutex);
      if (!turnChanged.wait_for(lock, std::chrono::seconds(5), [&] { return turn % 2 == self; })) return;
      texts[self].push_back(Part(5, 4, 3, index, slices[index - 1u]));
      ++turn;
      turnChanged.notify_all();
    }
  };
  std::thread first(receive, 0), second(receive, 1);
  first.join();
  second.join();
  for (const auto& t : texts) EXPECT_EQ(t, (std::vector<std::string>{"", "", Station(5)}));
}
