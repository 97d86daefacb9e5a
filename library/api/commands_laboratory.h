#pragma once
// Commands of the laboratory devices: the IC-card power controller, the
// water valve, the vehicle-mounted RFID reader, the device in/out register
// and the two timed switches. One frame each, all waiting for the server's
// delivery report.
#include <string>
#include <string_view>

#include "library/api/iot_command.h"

// The 6-byte card text of the IC-card power controller: the text in the
// wire's code page, its first six bytes, zero-padded when shorter. A
// double-byte character that the sixth byte would cut in two is left out.
std::vector<std::uint8_t> CardTextField(std::string_view text);

IotCommand IcreadCtrl(int on);
IotCommand IcreadSetMode1(std::string_view text);
// x1 goes into the last byte, after x2 to x7.
IotCommand IcreadSetMode2(std::string_view text, int x1, int x2, int x3, int x4, int x5, int x6, int x7);
IotCommand IcreadSetMode3(std::string_view text, int x1, int x2, int x3);
IotCommand IcreadQueryConfig();
IotCommand IcreadQueryStatus();

IotCommand WaterCtrl(int on);
IotCommand WaterSetTimer(int x1, int x2, int x3, int x4, int x5, int x6, int x7);
IotCommand WaterTimerCtrl(int on);
IotCommand WaterQueryStatus();

IotCommand CarrfidControl(int op);

IotCommand DevioCtrl(int school, int college, int department, int lab);
IotCommand DevioGetInfo();

// The timed switches: the same commands under two command codes. Times are
// read as "%02d:%02d"; a field that does not parse is 0.
IotCommand VlcontrolCtrl(int on);
IotCommand VlcontrolSetActiveTime(const std::string& begin, const std::string& end);
IotCommand VlcontrolQueryActiveTime();
IotCommand VlcontrolSetDelayTime(int value);
IotCommand IfcontrolCtrl(int on);
IotCommand IfcontrolSetActiveTime(const std::string& begin, const std::string& end);
IotCommand IfcontrolQueryActiveTime();
IotCommand IfcontrolSetDelayTime(int value);
