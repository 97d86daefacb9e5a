#include "library/api/commands_switches.h"

namespace {
constexpr std::uint8_t kLamp = 81, kDimmableLamp = 209, kCurtain = 82, kPower = 83, kControl = 84, kBoxPower = 85,
                       kPositioning = 90, kSiren = 32, kCameraCover = 87, kDoorContact = 44, kAdapter = 103,
                       kHealthMonitor = 49, kSphygmometer = 196;

IotCommand Make(std::uint8_t code, std::uint8_t function, std::vector<std::uint8_t> payload) {
  return IotCommand{code, function, std::move(payload), true};
}
IotCommand Switch(std::uint8_t code, int on) { return Make(code, on ? 16 : 17, {0}); }
}  // namespace

std::optional<IotCommand> LampCtrl(int nodeType, int on) {
  const std::uint8_t state = on ? 1 : 0;
  if (nodeType == 0 || nodeType == kLamp) return Make(kLamp, on ? 16 : 17, {1, state});
  if (nodeType == kDimmableLamp) return Make(kDimmableLamp, 48, {1, state});
  return std::nullopt;
}

IotCommand LampQueryStatus() { return Make(kLamp, 65, {1, 0}); }

IotCommand EcCtrl(int op) { return Make(kCurtain, op == 1 ? 16 : op == 2 ? 18 : 17, {0}); }
IotCommand EcQueryStatus() { return Make(kCurtain, 66, {0}); }
IotCommand PowerCtrl(int on) { return Switch(kPower, on); }
IotCommand PowerQueryStatus() { return Make(kPower, 67, {0}); }
IotCommand ControlCtrl(int on) { return Switch(kControl, on); }
IotCommand ControlQueryStatus() { return Make(kControl, 68, {0}); }

IotCommand ControltcCtrl(int op) {
  const std::uint8_t function = op == 0 ? 17 : op == 1 ? 16 : op == 2 ? 18 : 48;
  return Make(kBoxPower, function, {});
}
IotCommand ControltcQueryStatus() { return Make(kBoxPower, 67, {0}); }

IotCommand DevpstCtrl(int on) { return Make(kPositioning, on ? 16 : 17, {90, 0, 1, static_cast<std::uint8_t>(on ? 1 : 2)}); }

IotCommand WcawCtrl(int durationMs) {
  const int clamped = durationMs < 0 ? 0 : durationMs > 60000 ? 60000 : durationMs;
  IotCommand command = Make(kSiren, 16, {LowByte(clamped), LowByte(clamped >> 8)});
  command.record = false;
  return command;
}

IotCommand CcControl(int value) { return Make(kCameraCover, 48, {LowByte(value)}); }
IotCommand CcQueryStatus() { return Make(kCameraCover, 64, {}); }
IotCommand DcdbQueryStatus() { return Make(kDoorContact, 64, {}); }
IotCommand AdapterCtrl(int value) { return Make(kAdapter, 54, {LowByte(value), 0, 0, 0}); }
IotCommand AdapterReqType() { return AdapterCtrl(1); }
IotCommand AdapterReqData() { return AdapterCtrl(2); }

IotCommand HealthmonSetMode(int mode) {
  return Make(kHealthMonitor, 81, {static_cast<std::uint8_t>(mode == 0 ? 72 : mode == 1 ? 83 : 0), 0, 0, 0});
}

IotCommand SphygmometerCtrl(int op) {
  const std::uint8_t function = op == 1 ? 48 : op == 2 ? 49 : op == 3 ? 50 : op == 4 ? 81 : 0;
  return Make(kSphygmometer, function, {0, 0, 0, 0});
}
