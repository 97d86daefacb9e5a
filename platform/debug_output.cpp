#include "platform/text_hook.h"

namespace {
plat::TextHook& DebugSink() {
  static plat::TextHook hook;
  return hook;
}
}  // namespace

extern "C" {
void PlatSetDebugSink(PlatTextSink sink, void* user) { DebugSink().Set(sink, user); }
void PlatDebugOutput(const char* text) { DebugSink().Emit(text); }
}
