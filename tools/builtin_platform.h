#pragma once
// The small platform the stand-in program serves: one user ("admin",
// password "admin", or "1" as the demo program proposes) and two online
// gateways with simulated devices, whose list goes out after every
// "connect" of that user.
#include "tools/standin_server.h"

namespace standin {

Script BuiltInPlatform();

}  // namespace standin
