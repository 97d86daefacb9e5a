#pragma once
// Which page shows a device reply: by the reply's device type, and for the
// adapter by the type of the adapted sensor.
#include <string_view>

// The class name of the page (a row of the page table); nullptr when no page
// takes replies of that device.
const char* RouteNodeMessage(std::string_view json);
