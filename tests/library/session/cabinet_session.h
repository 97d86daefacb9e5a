#pragma once
// A logged-in session against the stand-in, for the cabinet and health
// device tests: the handle, and the "iot" requests the stand-in received.
#include "device_session_fixture.h"

using CabinetSessionTest = DeviceSessionTest;
