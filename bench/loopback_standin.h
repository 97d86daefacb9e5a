#pragma once
// A stand-in server on 127.0.0.1 with a free port, and sessions logged in to
// it through the exported functions.
#include <memory>

#include "sentrell.h"
#include "tools/standin_server.h"

namespace bench {

struct HandleCloser {
  void operator()(IotHandle* handle) const { CM_Free(handle); }
};
using Handle = std::unique_ptr<IotHandle, HandleCloser>;

// While it lives, sessions made after its construction connect to its port;
// the session timing is otherwise the library's own.
class LoopbackStandin {
 public:
  LoopbackStandin();
  ~LoopbackStandin();
  LoopbackStandin(const LoopbackStandin&) = delete;
  LoopbackStandin& operator=(const LoopbackStandin&) = delete;

  bool Running() const { return running_; }
  // A new session logged in to the stand-in; empty when the log-in fails.
  Handle LogIn() const;

 private:
  standin::StandinServer server_;
  bool running_ = false;
};

}  // namespace bench
