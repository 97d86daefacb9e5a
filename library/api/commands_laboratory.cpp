#include "library/api/commands_laboratory.h"

#include <cstdio>
#include <initializer_list>

#include "library/session/wire_text.h"
#include "platform/code_page.h"

namespace {

constexpr std::uint8_t kCardPower = 86, kWaterValve = 88, kVehicleReader = 89, kTimedVl = 93, kTimedIf = 94,
                       kInOutRegister = 100;
constexpr std::size_t kCardTextSize = 6;

IotCommand Make(std::uint8_t code, std::uint8_t function, std::vector<std::uint8_t> payload) {
  return IotCommand{code, function, std::move(payload), true};
}

// The function byte for "on" exactly 1, exactly 0, or anything else.
std::uint8_t Choose(int on, std::uint8_t one, std::uint8_t zero, std::uint8_t other) {
  return on == 1 ? one : on == 0 ? zero : other;
}

IotCommand CardText(std::uint8_t function, std::string_view text, std::initializer_list<int> numbers) {
  std::vector<std::uint8_t> payload = CardTextField(text);
  for (int n : numbers) payload.push_back(LowByte(n));
  return Make(kCardPower, function, std::move(payload));
}

// Hour and minute of an "HH:MM" text; what does not parse stays 0.
void ReadTime(const std::string& text, int& hour, int& minute) {
  hour = 0;
  minute = 0;
  std::sscanf(text.c_str(), "%02d:%02d", &hour, &minute);
}

IotCommand TimedCtrl(std::uint8_t code, int on) { return Make(code, Choose(on, 48, 49, 81), {0, 0, 0, 0}); }

IotCommand TimedSetActiveTime(std::uint8_t code, const std::string& begin, const std::string& end) {
  int beginHour, beginMinute, endHour, endMinute;
  ReadTime(begin, beginHour, beginMinute);
  ReadTime(end, endHour, endMinute);
  return Make(code, 80, {LowByte(beginHour), LowByte(beginMinute), LowByte(endHour), LowByte(endMinute)});
}

IotCommand TimedQueryActiveTime(std::uint8_t code) { return Make(code, 81, {0, 0, 0, 0}); }
IotCommand TimedSetDelayTime(std::uint8_t code, int value) { return Make(code, 82, {LowByte(value), 0, 0, 0}); }

}  // namespace

std::vector<std::uint8_t> CardTextField(std::string_view text) {
  const std::string wire = Utf8ToWire(text);
  std::size_t taken = 0;
  while (taken < wire.size()) {
    const std::size_t step = plat::CharLength(kWireCodePage, wire.data() + taken, wire.data() + wire.size());
    if (taken + step > kCardTextSize) break;
    taken += step;
  }
  std::vector<std::uint8_t> field(kCardTextSize, 0);
  for (std::size_t i = 0; i < taken; ++i) field[i] = static_cast<std::uint8_t>(wire[i]);
  return field;
}

IotCommand IcreadCtrl(int on) { return Make(kCardPower, Choose(on, 16, 17, 0), {0, 0, 0, 0}); }
IotCommand IcreadSetMode1(std::string_view text) { return CardText(18, text, {}); }
IotCommand IcreadSetMode2(std::string_view text, int x1, int x2, int x3, int x4, int x5, int x6, int x7) {
  return CardText(19, text, {x2, x3, x4, x5, x6, x7, x1});
}
IotCommand IcreadSetMode3(std::string_view text, int x1, int x2, int x3) { return CardText(20, text, {x1, x2, x3}); }
IotCommand IcreadQueryConfig() { return Make(kCardPower, 21, {0, 0, 0, 0}); }
IotCommand IcreadQueryStatus() { return Make(kCardPower, 67, {0, 0, 0, 0}); }

IotCommand WaterCtrl(int on) { return Make(kWaterValve, Choose(on, 16, 17, 0), {0, 0, 0, 0, 0}); }
IotCommand WaterSetTimer(int x1, int x2, int x3, int x4, int x5, int x6, int x7) {
  return Make(kWaterValve, 18,
              {LowByte(x1), LowByte(x2), LowByte(x3), LowByte(x4), LowByte(x5), LowByte(x6), LowByte(x7)});
}
IotCommand WaterTimerCtrl(int on) { return Make(kWaterValve, Choose(on, 19, 20, 0), {0, 0, 0, 0, 0}); }
IotCommand WaterQueryStatus() { return Make(kWaterValve, 67, {0, 0, 0, 0, 0}); }

IotCommand CarrfidControl(int op) {
  const std::uint8_t function = op == 0 ? 20 : op == 1 ? 16 : op == 2 ? 17 : op == 3 ? 18 : op == 4 ? 19 : 95;
  return Make(kVehicleReader, function, {0, 0, 0, 0});
}

IotCommand DevioCtrl(int school, int college, int department, int lab) {
  return Make(
      kInOutRegister, 16,
      {100, 5, 1, 1, LowByte(school), LowByte(school >> 8), LowByte(college), LowByte(department), LowByte(lab)});
}
IotCommand DevioGetInfo() { return Make(kInOutRegister, 17, {100, 5, 1, 2, 0, 0, 0, 0, 0}); }

IotCommand VlcontrolCtrl(int on) { return TimedCtrl(kTimedVl, on); }
IotCommand VlcontrolSetActiveTime(const std::string& begin, const std::string& end) {
  return TimedSetActiveTime(kTimedVl, begin, end);
}
IotCommand VlcontrolQueryActiveTime() { return TimedQueryActiveTime(kTimedVl); }
IotCommand VlcontrolSetDelayTime(int value) { return TimedSetDelayTime(kTimedVl, value); }
IotCommand IfcontrolCtrl(int on) { return TimedCtrl(kTimedIf, on); }
IotCommand IfcontrolSetActiveTime(const std::string& begin, const std::string& end) {
  return TimedSetActiveTime(kTimedIf, begin, end);
}
IotCommand IfcontrolQueryActiveTime() { return TimedQueryActiveTime(kTimedIf); }
IotCommand IfcontrolSetDelayTime(int value) { return TimedSetDelayTime(kTimedIf, value); }
