// The recording table: every bound export is recorded under its name with
// its arguments sorted by type, and gives the result set for it.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "tests/demo/demo_fakes.h"

namespace {

using demotest::FakeApi;
using demotest::RecordedCall;

IotHandle* const kHandle = reinterpret_cast<IotHandle*>(static_cast<intptr_t>(0x6000));

// Made-up arguments for any export: the handle, small integers (so that a
// length never passes the byte buffer), reals, texts and output buffers.
class MadeUpArguments {
 public:
  template <typename T>
  T Make(std::size_t index) {
    if constexpr (std::is_same_v<T, IotHandle*>) {
      return kHandle;
    } else if constexpr (std::is_same_v<T, const char*>) {
      return "text";
    } else if constexpr (std::is_same_v<T, char*>) {
      return m_outputs.at(index).data();
    } else if constexpr (std::is_same_v<T, const unsigned char*>) {
      return m_bytes.data();
    } else if constexpr (std::is_pointer_v<T>) {
      return nullptr;
    } else if constexpr (std::is_floating_point_v<T>) {
      return static_cast<T>(index) + static_cast<T>(0.5);
    } else {
      static_assert(std::is_integral_v<T>);
      return static_cast<T>(index + 1);
    }
  }

 private:
  std::array<std::array<char, 600>, 16> m_outputs{};
  std::array<unsigned char, 64> m_bytes{};
};

template <typename R, typename... A>
void CallWithMadeUpArguments(R (*function)(A...)) {
  MadeUpArguments made;
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    std::tuple<A...> arguments{made.template Make<A>(I)...};
    std::apply(function, arguments);
  }(std::index_sequence_for<A...>{});
}

TEST(FakeApi, RecordsEveryBoundExportUnderItsName) {
  FakeApi api;
  std::set<std::string> names;
#define DEMO_CALL_EXPORT(exportName)                                         \
  {                                                                    \
    const std::size_t before = FakeApi::Calls().size();                \
    CallWithMadeUpArguments(Api().exportName);                               \
    const auto calls = FakeApi::Calls();                               \
    ASSERT_EQ(calls.size(), before + 1) << #exportName;                      \
    EXPECT_EQ(calls.back().name, #exportName);                               \
    EXPECT_FALSE(calls.back().args.empty()) << #exportName;                  \
    names.insert(#exportName);                                               \
  }
  DEMO_BOUND_EXPORTS(DEMO_CALL_EXPORT)
#undef DEMO_CALL_EXPORT
  EXPECT_EQ(names.size(), static_cast<std::size_t>(BoundExportCount()));
}

TEST(FakeApi, SortsArgumentsByType) {
  FakeApi api;
  const unsigned char month[] = {0x0F, 0xF0, 0x00, 0x81};
  Api().CM_Login(kHandle, "127.0.0.1", "admin", nullptr);
  Api().CM_IOT_DAC_SetWorkdayOfMonth(kHandle, 7, 1, 2, 2024, 5, month, 4);
  Api().CM_IOT_DAC_SetWorkdayOfMonth(kHandle, 7, 1, 2, 2024, 5, nullptr, 4);
  Api().CM_IOT_PowerMeterCtrl_SetMaximumCurrent(kHandle, 7, 1, 2, 10, 20, 30, 40, 5.5f);
  Api().CM_SetNotifyWindow(kHandle, reinterpret_cast<PlatWindow>(static_cast<intptr_t>(0x70)));
  Api().CM_Free(kHandle);
  const std::vector<RecordedCall> expected = {
      {"CM_Login", {0x6000}, {"127.0.0.1", "admin", "(null)"}},
      {"CM_IOT_DAC_SetWorkdayOfMonth", {0x6000, 7, 1, 2, 2024, 5, 4}, {}, {}, {{0x0F, 0xF0, 0x00, 0x81}}},
      {"CM_IOT_DAC_SetWorkdayOfMonth", {0x6000, 7, 1, 2, 2024, 5, 4}, {}, {}, {{}}},
      {"CM_IOT_PowerMeterCtrl_SetMaximumCurrent", {0x6000, 7, 1, 2, 10, 20, 30, 40}, {}, {5.5}},
      {"CM_SetNotifyWindow", {0x6000, 0x70}},
      {"CM_Free", {0x6000}},
  };
  EXPECT_EQ(FakeApi::Calls(), expected);
}

TEST(FakeApi, GivesTheResultSetForTheExport) {
  FakeApi api;
  EXPECT_EQ(Api().CM_IOT_CO2_Query(kHandle, 1, 2, 3), 1);
  FakeApi::SetResult(0);
  FakeApi::SetResult("CM_IOT_O2_Query", -1);
  FakeApi::SetResult("CM_Init", 0x6000);
  EXPECT_EQ(Api().CM_IOT_CO2_Query(kHandle, 1, 2, 3), 0);
  EXPECT_EQ(Api().CM_IOT_O2_Query(kHandle, 1, 2, 3), -1);
  EXPECT_EQ(Api().CM_Init(0), kHandle);
}

TEST(FakeApi, OutputExportsWriteTheirTexts) {
  FakeApi api;
  FakeApi::SetServerInfo("from", "contact", "body");
  FakeApi::SetXmlPath("/tmp/xml");
  char from[32] = "x", contact[32] = "x", body[512] = "x", folder[260] = "x";
  EXPECT_EQ(Api().CM_GetServerInfo(kHandle, from, contact, body), 1);
  EXPECT_EQ(Api().CM_GetNVSXmlPath(kHandle, folder), 1);
  EXPECT_STREQ(from, "from");
  EXPECT_STREQ(contact, "contact");
  EXPECT_STREQ(body, "body");
  EXPECT_STREQ(folder, "/tmp/xml");
  EXPECT_EQ(FakeApi::Calls(),
            (std::vector<RecordedCall>{{"CM_GetServerInfo", {0x6000}}, {"CM_GetNVSXmlPath", {0x6000}}}));
}

}  // namespace
