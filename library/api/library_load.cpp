// Loading libsentrell.so constructs the library's application object.
#include "library/session/iot_app.h"

namespace {
[[gnu::constructor]] void ConstructApplicationObject() { TheIotApp(); }
}  // namespace
