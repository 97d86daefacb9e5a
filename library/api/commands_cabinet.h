#pragma once
// Commands of the valuables cabinet: a cabinet of numbered boxes with
// administrators, users with a card and users with a card and a password.
// Every payload begins with the sub-header {97, data length, group, item}.
#include <optional>

#include "library/api/iot_command.h"

// The largest password: six decimal digits travel, as three packed BCD bytes.
constexpr int kCabinetMaxPassword = 999999;

IotCommand CabmgzGetWeightInBox(int box);
IotCommand CabmgzOpenBox(int box);
// Nothing for a password outside 0..999999, which the three bytes cannot carry.
std::optional<IotCommand> CabmgzAddAdvUserToBox(int box, int userNumber, int password, int cardNumber);
IotCommand CabmgzRemoveAdvUserFromBox(int box, int userNumber);
IotCommand CabmgzClearAdminInBox(int box);
IotCommand CabmgzRemoveBoxFromCabinet(int box);
IotCommand CabmgzClearAdminInCabinet();
IotCommand CabmgzGetAdminInfoFromCabinet();
IotCommand CabmgzGetBoxInfoOfCabinet();
IotCommand CabmgzReinitCabinet();
// The user operations share function byte 28 and carry a data length of 0
// although data follows; the byte after the box tells them apart.
IotCommand CabmgzAddUserToBox(int box, int cardNumber);
IotCommand CabmgzRemoveUserFromBox(int box, int cardNumber);
IotCommand CabmgzClearUserInBox(int box);
IotCommand CabmgzClearAdvUserInBox(int box);
