#pragma once
// Owning handle of a ScpMessage record, for requests built in records of their own.
#include <memory>
#include <new>

#include "library/session/scp_message.h"

struct ScpMessageDeleter {
  void operator()(ScpMessage* msg) const { ScpMessageFree(msg); }
};
using ScpRecord = std::unique_ptr<ScpMessage, ScpMessageDeleter>;

// A fresh record of the given kind; throws std::bad_alloc when it cannot be made.
inline ScpRecord MakeScpRecord(int kind = kScpKindReq) {
  ScpMessage* msg = nullptr;
  if (!ScpMessageCreate(&msg, kind)) throw std::bad_alloc();
  return ScpRecord(msg);
}
