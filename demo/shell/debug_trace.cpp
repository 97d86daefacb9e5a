#include "demo/shell/debug_trace.h"

#include <cstdarg>
#include <string>

#include "demo/shell/text_format.h"
#include "sentrellplatform.h"

void DebugTrace(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  PlatDebugOutput(TruncateUtf8Bytes(std::move(text), 1023).c_str());
}
