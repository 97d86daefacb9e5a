#pragma once
// A replaceable text sink that falls back to standard error.
#include <cstdio>
#include <mutex>

#include "sentrellplatform.h"

namespace plat {

class TextHook {
 public:
  void Set(PlatTextSink sink, void* user) {
    std::lock_guard lock(mutex_);
    sink_ = sink;
    user_ = user;
  }
  // Without a sink the text, then `fallbackSuffix`, goes to standard error.
  void Emit(const char* text, const char* fallbackSuffix = "") {
    PlatTextSink sink;
    void* user;
    {
      std::lock_guard lock(mutex_);
      sink = sink_;
      user = user_;
    }
    if (!text) text = "";
    if (sink) sink(text, user);
    else {
      std::fputs(text, stderr);
      std::fputs(fallbackSuffix, stderr);
    }
  }

 private:
  std::mutex mutex_;
  PlatTextSink sink_ = nullptr;
  void* user_ = nullptr;
};

}  // namespace plat
