// Simulated laboratory devices: the IC-card power controller, the camera
// cover, the water valve, the positioning scanner, the two timed switches
// and the in/out register.
#include "tools/simulated_devices.h"

namespace standin {

namespace {

using Bytes = std::vector<std::uint8_t>;

class Answers {
 public:
  Answers(const DeviceFrame& command, std::vector<DeviceFrame>& replies) : command_(command), replies_(replies) {}
  void Send(std::uint8_t function, Bytes payload) {
    DeviceFrame reply = command_;
    reply.functionByte = function;
    reply.payload = std::move(payload);
    replies_.push_back(std::move(reply));
  }
  // Byte `at` of the command's payload, 0 past its end.
  std::uint8_t At(std::size_t at) const { return at < command_.payload.size() ? command_.payload[at] : 0; }
  std::size_t Size() const { return command_.payload.size(); }

 private:
  const DeviceFrame& command_;
  std::vector<DeviceFrame>& replies_;
};

// ---- IC-card power controller. State: 0 power, 1 work mode, 2-7 card
// text, 8-13 on and off times (weekday, hour, minute), 14 error.
constexpr std::uint8_t kModeOne = 1, kModeTwoHour = 2, kModeTwoWeek = 4, kModeThree = 5;
constexpr std::uint8_t kErrorNone = 0, kErrorCardText = 1, kErrorTime = 2;
// The card in the simulated reader: id 1234567, number 42.
const Bytes kCard = {0x87, 0xD6, 0x12, 0x00, 42, 0};

void CardTail(const DeviceState& s, Bytes& out) {
  out.push_back(s[0]);
  out.insert(out.end(), s.begin() + 2, s.begin() + 8);
  out.push_back(s[1]);
  out.push_back(s[14]);
}
Bytes CardRecord(const DeviceState& s) {
  Bytes out = kCard;
  CardTail(s, out);
  return out;
}
Bytes TimeRecord(const DeviceState& s) {
  Bytes out(s.begin() + 8, s.begin() + 14);
  CardTail(s, out);
  return out;
}

bool StoreCardText(const Answers& a, DeviceState& s, std::size_t payloadSize) {
  if (a.Size() < payloadSize) {
    s[14] = kErrorCardText;
    return false;
  }
  for (std::size_t i = 0; i < 6; ++i) s[2 + i] = a.At(i);
  s[14] = kErrorNone;
  return true;
}

void CardPower(Answers& a, std::uint8_t fn, DeviceState& s) {
  switch (fn) {
    case 16:
    case 17:
      s[0] = fn == 16 ? 1 : 0;
      a.Send(fn == 16 ? 0x30 : 0x31, CardRecord(s));
      break;
    case 18:
      if (StoreCardText(a, s, 6)) s[1] = kModeOne;
      a.Send(0x32, CardRecord(s));
      break;
    case 19:
      if (StoreCardText(a, s, 13)) {
        // Start weekday, hour, minute, end weekday, hour, minute, then the timing.
        const bool valid = a.At(6) <= 6 && a.At(7) <= 23 && a.At(8) <= 59 && a.At(9) <= 6 && a.At(10) <= 23 &&
                           a.At(11) <= 59 && a.At(12) >= kModeTwoHour && a.At(12) <= kModeTwoWeek;
        if (valid) {
          for (std::size_t i = 0; i < 6; ++i) s[8 + i] = a.At(6 + i);
          s[1] = a.At(12);
        } else {
          s[14] = kErrorTime;
        }
      }
      a.Send(0x33, CardRecord(s));
      break;
    case 20:
      if (StoreCardText(a, s, 9)) s[1] = kModeThree;
      a.Send(0x34, CardRecord(s));
      break;
    case 21:
      a.Send(0x50, TimeRecord(s));
      break;
    case 67:
      a.Send(0x43, CardRecord(s));
      break;
    default:
      break;
  }
}

// ---- Water valve. State: 0 valve open, 1 timer running, 2-8 timer setting.
void WaterValve(Answers& a, std::uint8_t fn, DeviceState& s) {
  auto state = [&s] { return Bytes{0, 0, 0, 0, s[0]}; };
  if (fn == 16 || fn == 17) {
    s[0] = fn == 16 ? 1 : 0;
    a.Send(fn == 16 ? 0x30 : 0x31, state());
  } else if (fn == 18) {
    for (std::size_t i = 0; i < 7; ++i) s[2 + i] = a.At(i);
    a.Send(0x32, state());
  } else if (fn == 19 || fn == 20) {
    s[1] = fn == 19 ? 1 : 0;
    a.Send(fn == 19 ? 0x33 : 0x34, state());
  } else if (fn == 67) {
    a.Send(0x43, state());
  }
}

// ---- Camera cover. State: 0 position (0 closed, 1 opened).
void CameraCover(Answers& a, std::uint8_t fn, DeviceState& s) {
  constexpr std::uint8_t kWaitSeconds = 5;
  if (fn == 48 && a.Size() >= 1 && a.At(0) <= 1) {
    const bool open = a.At(0) == 1;
    a.Send(0x30, {static_cast<std::uint8_t>(open ? 0x01 : 0x00), kWaitSeconds});
    s[0] = open ? 1 : 0;
    a.Send(0x30, {static_cast<std::uint8_t>(open ? 0x0B : 0x0A)});
  } else if (fn == 64) {
    a.Send(0x40, {s[0]});
  }
}

// ---- Positioning scanner: a start reports two instruments of one lab.
void Positioning(Answers& a, std::uint8_t fn, DeviceState& s) {
  if (fn == 16) {
    s[0] = 1;
    a.Send(0x30, {90, 0x55, 1, 1});
    for (std::uint8_t index = 1; index <= 2; ++index)
      a.Send(0x50, {90, 0, 1, 0, index, 0, 0, 0, 1, 0, 2, 4, 5, static_cast<std::uint8_t>(5 + index), 0, 7, 0, 1});
  } else if (fn == 17) {
    s[0] = 0;
    a.Send(0x31, {90, 0x55, 1, 2});
    a.Send(0x41, {90, 0, 1, 2});
  }
}

// ---- Timed switches. State: 0 on, 1-4 active time, 5 delay.
void TimedSwitch(Answers& a, std::uint8_t fn, DeviceState& s) {
  switch (fn) {
    case 48:
    case 49:
      s[0] = fn == 48 ? 1 : 0;
      a.Send(fn == 48 ? 0x30 : 0x31, {0, 0, 0, 0});
      break;
    case 80:
      for (std::size_t i = 0; i < 4; ++i) s[1 + i] = a.At(i);
      a.Send(0x50, {0, 0, 0, 0});
      break;
    case 81:
      a.Send(0x51, {s[1], s[2], s[3], s[4]});
      break;
    case 82:
      s[5] = a.At(0);
      a.Send(0x52, {0, 0, 0, 0});
      break;
    default:
      break;
  }
}

// ---- In/out register. State: 0-1 school, 2 college, 3 department, 4 lab.
void InOutRegister(Answers& a, std::uint8_t fn, DeviceState& s) {
  const bool header = a.At(0) == 100 && a.At(1) == 5 && a.At(2) == 1;
  if (fn == 16 && header && a.At(3) == 1 && a.Size() >= 9) {
    a.Send(0x30, {100, 5, 1, 1});
    for (std::size_t i = 0; i < 5; ++i) s[i] = a.At(4 + i);
    a.Send(0x40, {100, 5, 1, 1});
  } else if (fn == 17 && header && a.At(3) == 2) {
    a.Send(0x31, {100, 5, 1, 2});
    a.Send(0x50, {100, 5, 1, 2, s[0], s[1], s[2], s[3], s[4]});
  }
}

}  // namespace

void SimulateLaboratory(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies) {
  Answers answers(command, replies);
  const std::uint8_t fn = command.functionByte;
  switch (command.commandCode) {
    case 86:
      CardPower(answers, fn, state);
      break;
    case 87:
      CameraCover(answers, fn, state);
      break;
    case 88:
      WaterValve(answers, fn, state);
      break;
    case 90:
      Positioning(answers, fn, state);
      break;
    case 93:
    case 94:
      TimedSwitch(answers, fn, state);
      break;
    case 100:
      InOutRegister(answers, fn, state);
      break;
    default:
      break;
  }
}

}  // namespace standin
