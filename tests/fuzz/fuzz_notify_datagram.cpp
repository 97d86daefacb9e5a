// The demo's reader of notification datagrams on any bytes: the fields it
// keeps stay within their limits.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "demo/notify/notify_datagram.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const NotifyDatagram d = ParseNotifyDatagram(std::string_view(reinterpret_cast<const char*>(data), size));
  if (d.kind.size() > kNotifyKindLimit || d.data.size() > kNotifyDataLimit) {
    std::fprintf(stderr, "field beyond its limit: kind %zu, data %zu bytes\n", d.kind.size(), d.data.size());
    std::abort();
  }
  return 0;
}
