#pragma once
// The frame every handle-taking export shares: the handle check, the
// exception barrier and the -1 result for both.
#include <utility>

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
