#pragma once
// Commands of the electricity (code 95), water (65) and gas (66) meter
// controllers: one frame each.
//
// A meter address is one unsigned 64-bit number given as its low and high
// 32-bit halves; it goes out as 16 packed BCD digits, least significant byte
// first. Currents and energy amounts go out times 1000, calibration values
// times 10, as 8 packed BCD digits. A command whose address has more than 16
// digits, or whose scaled amount is negative or has more than 8 digits, is
// not described (nothing is sent).
#include <cstdint>
#include <optional>
#include <string_view>

#include "library/api/iot_command.h"

// ---- electricity meter controller

IotCommand PowerMeterCtrlInit();
// `date` as "%d-%d-%d" (year, month, day); fields that do not read stay 0.
std::optional<IotCommand> PowerMeterCtrlSetDate(std::uint32_t addressLow, std::uint32_t addressHigh,
                                                std::uint32_t code1, std::uint32_t code2, std::string_view date);
// `time` as "%d:%d:%d" (hour, minute, second); fields that do not read stay 0.
std::optional<IotCommand> PowerMeterCtrlSetTime(std::uint32_t addressLow, std::uint32_t addressHigh,
                                                std::uint32_t code1, std::uint32_t code2, std::string_view time);
// The day goes out modulo 31, the hour modulo 24.
std::optional<IotCommand> PowerMeterCtrlSetAccountDay(std::uint32_t addressLow, std::uint32_t addressHigh,
                                                      std::uint32_t code1, std::uint32_t code2, int day, int hour);
IotCommand PowerMeterCtrlClearAvailableEngeryAmount();
std::optional<IotCommand> PowerMeterCtrlSetMaximumCurrent(std::uint32_t addressLow, std::uint32_t addressHigh,
                                                          std::uint32_t code1, std::uint32_t code2, float current);
std::optional<IotCommand> PowerMeterCtrlAddAvailableEnergyAmount(std::uint32_t addressLow,
                                                                 std::uint32_t addressHigh, std::uint32_t code1,
                                                                 std::uint32_t code2, float amount);
IotCommand PowerMeterCtrlRelayOn();
IotCommand PowerMeterCtrlRelayOff();
IotCommand PowerMeterCtrlQueryData();
// Parameters 0 to 14; any other reads the meter's parameter block 0.
IotCommand PowerMeterCtrlQueryParameter(int parameter);

// ---- water meter controller

std::optional<IotCommand> WaterMeterCtrlCalibrate(std::uint32_t addressLow, std::uint32_t addressHigh, float value);
std::optional<IotCommand> WaterMeterCtrlValveTest(std::uint32_t addressLow, std::uint32_t addressHigh);
// on == 1 enters the factory mode, any other value leaves it.
std::optional<IotCommand> WaterMeterCtrlSetFactoryMode(std::uint32_t addressLow, std::uint32_t addressHigh, int on);
std::optional<IotCommand> WaterMeterCtrlValveControl(std::uint32_t addressLow, std::uint32_t addressHigh, int value);
IotCommand WaterMeterCtrlQueryValveStatus();
IotCommand WaterMeterCtrlQueryData();
IotCommand WaterMeterCtrlQueryMeterId();

// ---- gas meter controller

std::optional<IotCommand> GasMeterCtrlCalibrate(std::uint32_t addressLow, std::uint32_t addressHigh, float value);
IotCommand GasMeterCtrlQueryData();
IotCommand GasMeterCtrlQueryMeterId();
