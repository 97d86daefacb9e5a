#pragma once
// Commands of the sampling collectors (inclination DAIS, temperature and
// humidity THDC, temperature TDC, illuminance IDC) and of the pH, CO2 and O2
// analysers: one frame each. Limits travel as int32 tenths; a limit whose
// tenths do not fit 32 bits (or that is not a number) sends nothing.
#include <optional>

#include "library/api/iot_command.h"

IotCommand DaisSampling();
std::optional<IotCommand> DaisSetLimit(float first, float second, float third, float fourth);
IotCommand DaisStartContinuousSampling(int periodMs, int count);
IotCommand DaisStopContinuousSampling();
IotCommand DaisQueryLimit();
IotCommand DaisQueryRange();
IotCommand DaisZeroSetting();
IotCommand DaisQueryZeroSetting();

IotCommand ThdcSampling();
std::optional<IotCommand> ThdcSetLimit(float first, float second, float third, float fourth);
IotCommand ThdcStartContinuousSampling(int periodMs, int count);
IotCommand ThdcStopContinuousSampling();
IotCommand ThdcQueryLimit();
IotCommand ThdcQueryRange();

IotCommand TdcSampling();
std::optional<IotCommand> TdcSetLimit(float first, float second);
IotCommand TdcStartContinuousSampling(int periodMs, int count);
IotCommand TdcStopContinuousSampling();
IotCommand TdcQueryLimit();
IotCommand TdcQueryRange();

IotCommand IdcSampling();
std::optional<IotCommand> IdcSetLimit(float first, float second);
IotCommand IdcStartContinuousSampling(int periodMs, int count);
IotCommand IdcStopContinuousSampling();
IotCommand IdcQueryLimit();
IotCommand IdcQueryRange();

IotCommand PhQuery();
IotCommand PhStart(int periodMs, int count);
IotCommand PhStop();
IotCommand PhCalibrate();

IotCommand Co2Query();
IotCommand Co2Start(int periodMs, int count);
IotCommand Co2Stop();

IotCommand O2Query();
IotCommand O2Start(int periodMs, int count);
IotCommand O2Stop();
