#include "demo/shell/sentrell_api.h"

namespace {

SentrellApi& Table() {
  static SentrellApi table = MissingApi();
  return table;
}

}  // namespace

SentrellApi MissingApi() {
  SentrellApi api;
#define DEMO_API_MISSING(name) api.name = &MissingExport<decltype(api.name)>::Call;
  DEMO_BOUND_EXPORTS(DEMO_API_MISSING)
#undef DEMO_API_MISSING
  return api;
}

int BoundExportCount() {
  int count = 0;
#define DEMO_API_COUNT(name) ++count;
  DEMO_BOUND_EXPORTS(DEMO_API_COUNT)
#undef DEMO_API_COUNT
  return count;
}

SentrellApi& Api() { return Table(); }

void SetApi(const SentrellApi& api) {
  SentrellApi filled = api;
#define DEMO_API_FILL(name) \
  if (filled.name == nullptr) filled.name = &MissingExport<decltype(filled.name)>::Call;
  DEMO_BOUND_EXPORTS(DEMO_API_FILL)
#undef DEMO_API_FILL
  Table() = filled;
}
