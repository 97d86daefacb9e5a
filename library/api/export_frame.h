#pragma once
// The frame every handle-taking export shares: the handle check, the
// exception barrier and the -1 result for both.
#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>

#include "library/api/iot_command.h"
#include "library/api/iot_handle.h"
#include "library/session/iot_session.h"

constexpr int kExportFailed = -1;

template <class Operation>
int WithSession(const IotHandle* handle, Operation&& operation) noexcept {
  try {
    const std::shared_ptr<CIotSession> session = LiveSession(handle);
    if (!session) return kExportFailed;
    return std::forward<Operation>(operation)(*session);
  } catch (...) {
    return kExportFailed;
  }
}

namespace export_frame_detail {
template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};
}  // namespace export_frame_detail

// The frame of a device export whose command needs nothing but its
// arguments: the described command sent to the node. A description that
// may be refused (an optional) sends nothing and gives 0 when it is empty.
template <class Describe>
int Command(IotHandle* handle, std::uint32_t nvsid, std::uint16_t netid, std::uint16_t nodeaddr,
            Describe describe) noexcept {
  return WithSession(handle, [&](CIotSession& s) {
    auto command = describe();
    if constexpr (export_frame_detail::IsOptional<decltype(command)>::value) {
      return command ? SendCommand(s, nvsid, netid, nodeaddr, *command) : 0;
    } else {
      return SendCommand(s, nvsid, netid, nodeaddr, command);
    }
  });
}
