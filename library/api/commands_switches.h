#pragma once
// Commands of lamps, curtains, power switches, contactors, box power,
// positioning tags, sirens, camera covers, door contacts, adapters, health
// monitors and blood-pressure meters: one frame each.
#include <optional>

#include "library/api/iot_command.h"

// The lamp's command depends on the node's recorded type: 0 or 81 (or no
// file), 209, anything else sends nothing.
std::optional<IotCommand> LampCtrl(int nodeType, int on);
IotCommand LampQueryStatus();
IotCommand EcCtrl(int op);
IotCommand EcQueryStatus();
IotCommand PowerCtrl(int on);
IotCommand PowerQueryStatus();
IotCommand ControlCtrl(int on);
IotCommand ControlQueryStatus();
IotCommand ControltcCtrl(int op);
IotCommand ControltcQueryStatus();
IotCommand DevpstCtrl(int on);
IotCommand WcawCtrl(int durationMs);
IotCommand CcControl(int value);
IotCommand CcQueryStatus();
IotCommand DcdbQueryStatus();
IotCommand AdapterCtrl(int value);
IotCommand AdapterReqType();
IotCommand AdapterReqData();
IotCommand HealthmonSetMode(int mode);
IotCommand SphygmometerCtrl(int op);
