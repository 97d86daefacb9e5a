#include "library/api/commands_cabinet.h"

#include "library/session/codecs.h"

namespace {

constexpr std::uint8_t kCabinet = 97;
constexpr std::uint8_t kUserOperation = 28;

IotCommand Make(std::uint8_t function, std::vector<std::uint8_t> payload) {
  return IotCommand{kCabinet, function, std::move(payload), true};
}

// A command whose only data is the box number.
IotCommand BoxCommand(std::uint8_t function, std::uint8_t group, std::uint8_t item, int box) {
  return Make(function, {kCabinet, 1, group, item, LowByte(box)});
}

void AppendU16(std::vector<std::uint8_t>& bytes, int value) {
  bytes.push_back(LowByte(value));
  bytes.push_back(LowByte(value >> 8));
}

void AppendU32(std::vector<std::uint8_t>& bytes, int value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(v >> shift));
}

IotCommand UserOperation(int box, std::uint8_t operation) {
  return Make(kUserOperation, {kCabinet, 0, 8, 1, LowByte(box), operation});
}

IotCommand CardOperation(int box, std::uint8_t operation, int cardNumber) {
  IotCommand command = UserOperation(box, operation);
  AppendU32(command.payload, cardNumber);
  return command;
}

}  // namespace

IotCommand CabmgzGetWeightInBox(int box) { return BoxCommand(16, 1, 1, box); }
IotCommand CabmgzOpenBox(int box) { return BoxCommand(17, 2, 1, box); }

std::optional<IotCommand> CabmgzAddAdvUserToBox(int box, int userNumber, int password, int cardNumber) {
  if (password < 0 || password > kCabinetMaxPassword) return std::nullopt;
  IotCommand command = Make(18, {kCabinet, 10, 3, 1, LowByte(box)});
  AppendU16(command.payload, userNumber);
  const std::uint32_t bcd = UInt32ToBcd(static_cast<std::uint32_t>(password));
  for (int shift = 0; shift < 24; shift += 8) command.payload.push_back(static_cast<std::uint8_t>(bcd >> shift));
  AppendU32(command.payload, cardNumber);
  return command;
}

IotCommand CabmgzRemoveAdvUserFromBox(int box, int userNumber) {
  IotCommand command = Make(19, {kCabinet, 3, 3, 2, LowByte(box)});
  AppendU16(command.payload, userNumber);
  return command;
}

IotCommand CabmgzClearAdminInBox(int box) { return BoxCommand(20, 4, 1, box); }
IotCommand CabmgzRemoveBoxFromCabinet(int box) { return BoxCommand(21, 4, 2, box); }
// The same group and item as the removal of a box; the function byte tells them apart.
IotCommand CabmgzClearAdminInCabinet() { return Make(22, {kCabinet, 0, 4, 2}); }
IotCommand CabmgzGetAdminInfoFromCabinet() { return Make(23, {kCabinet, 0, 5, 1}); }
IotCommand CabmgzGetBoxInfoOfCabinet() { return Make(24, {kCabinet, 0, 6, 1}); }
IotCommand CabmgzReinitCabinet() { return Make(25, {kCabinet, 0, 7, 1}); }

IotCommand CabmgzAddUserToBox(int box, int cardNumber) { return CardOperation(box, 1, cardNumber); }
IotCommand CabmgzRemoveUserFromBox(int box, int cardNumber) { return CardOperation(box, 2, cardNumber); }
IotCommand CabmgzClearUserInBox(int box) { return UserOperation(box, 3); }
IotCommand CabmgzClearAdvUserInBox(int box) { return UserOperation(box, 4); }
