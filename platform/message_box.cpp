#include "platform/text_hook.h"

namespace {
plat::TextHook& MessageBoxHook() {
  static plat::TextHook hook;
  return hook;
}
}  // namespace

extern "C" {
void PlatSetMessageBoxHook(PlatTextSink hook, void* user) { MessageBoxHook().Set(hook, user); }
void PlatMessageBox(const char* text) { MessageBoxHook().Emit(text, "\n"); }
}
