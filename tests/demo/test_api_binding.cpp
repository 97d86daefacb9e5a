// Binding the library's exports by name, with and without the library.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <set>

#include "demo/shell/api_binding.h"

namespace {

TEST(ApiBinding, TableHoldsTheExportsThePagesUse) {
  EXPECT_EQ(BoundExportCount(), 145);
  const SentrellApi missing = MissingApi();
  EXPECT_EQ(missing.CM_Init(1), nullptr);
  EXPECT_EQ(missing.CM_Login(nullptr, "s", "u", "p"), -1);
  EXPECT_EQ(missing.CM_IOT_LAMP_Ctrl(nullptr, 1, 2, 3, 1), -1);
  missing.CM_Free(nullptr);
}

TEST(ApiBinding, SetApiFillsGaps) {
  const SentrellApi saved = Api();
  SentrellApi partial{};
  partial.CM_IOT_LAMP_QueryStatus = [](IotHandle*, uint32_t, uint16_t, uint16_t) { return 1; };
  SetApi(partial);
  EXPECT_EQ(Api().CM_IOT_LAMP_QueryStatus(nullptr, 0, 0, 0), 1);
  ASSERT_NE(Api().CM_IOT_DAC_Open, nullptr);
  EXPECT_EQ(Api().CM_IOT_DAC_Open(nullptr, 0, 0, 0), -1);
  SetApi(saved);
}

TEST(ApiBinding, DefaultCandidates) {
  EXPECT_EQ(DefaultLibraryCandidates("/opt/demo/bin"),
            (std::vector<std::string>{"/opt/demo/bin/libsentrell.so", "/opt/demo/bin/../lib/libsentrell.so",
                                      "libsentrell.so"}));
  EXPECT_EQ(DefaultLibraryCandidates(""), (std::vector<std::string>{"libsentrell.so"}));
}

TEST(ApiBinding, BindsWhatTheBuiltLibraryExports) {
  SentrellApi api;
  const ApiBinding binding =
      BindSentrellApi({"/nonexistent/libsentrell.so", SENTRELL_LIBRARY_PATH}, api);
  ASSERT_TRUE(binding.loaded) << binding.loadError;
  EXPECT_EQ(binding.libraryPath, SENTRELL_LIBRARY_PATH);

  void* library = dlopen(SENTRELL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr);
  const std::set<std::string> missing(binding.missing.begin(), binding.missing.end());
  int bound = 0;
#define CHECK_ENTRY(name)                                                                \
  if (void* symbol = dlsym(library, #name)) {                                            \
    EXPECT_EQ(reinterpret_cast<void*>(api.name), symbol) << #name;                       \
    EXPECT_EQ(missing.count(#name), 0u) << #name;                                        \
    ++bound;                                                                             \
  } else {                                                                               \
    EXPECT_EQ(missing.count(#name), 1u) << #name;                                        \
    EXPECT_EQ(api.name, &MissingExport<decltype(api.name)>::Call) << #name;              \
  }
  DEMO_BOUND_EXPORTS(CHECK_ENTRY)
#undef CHECK_ENTRY
  dlclose(library);
  EXPECT_GT(bound, 0);
  EXPECT_EQ(bound + static_cast<int>(binding.missing.size()), BoundExportCount());

  const std::vector<std::string> report = BindingReport(binding);
  ASSERT_EQ(report.size(), binding.missing.size());
  for (std::size_t i = 0; i < report.size(); ++i)
    EXPECT_EQ(report[i], "libsentrell.so: export " + binding.missing[i] + " not found");
}

TEST(ApiBinding, WithoutTheLibraryEveryCallFails) {
  SentrellApi api;
  const ApiBinding binding = BindSentrellApi({"/nonexistent/libsentrell.so", "libsentrell-absent.so"}, api);
  EXPECT_FALSE(binding.loaded);
  EXPECT_NE(binding.loadError.find("libsentrell-absent.so"), std::string::npos) << binding.loadError;
  const std::vector<std::string> report = BindingReport(binding);
  ASSERT_EQ(report.size(), 1u);
  EXPECT_EQ(report[0].rfind("libsentrell.so not loaded (", 0), 0u) << report[0];
  EXPECT_EQ(api.CM_Init(1), nullptr);
  EXPECT_EQ(api.CM_IOT_THDC_StartContinuousSampling(nullptr, 1, 2, 3, 1000, 1), -1);
}

}  // namespace
