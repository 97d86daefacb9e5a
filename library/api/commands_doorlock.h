#pragma once
// Commands of the card door access controller (code 80) and the fingerprint
// door lock (code 96). Every payload starts with the sub-header {code, number
// of data bytes that follow, group, item}; every command waits for the
// server's delivery report.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "library/api/doorlock_clock.h"
#include "library/api/iot_command.h"

// Bytes of the working-day areas: a month and a year (one bit per day).
constexpr std::size_t kMonthWorkdayBytes = 4;
constexpr std::size_t kYearWorkdayBytes = 48;
// The fingerprint feature and the longest base64 text of it.
constexpr std::size_t kFingerprintFeatureBytes = 193;
constexpr std::size_t kFingerprintFeatureTextMax = 260;

// ---- card door access
// Nothing for a time text that ParseLockClock refuses. The day of the week
// comes from the calendar, Monday 1 to Sunday 7.
std::optional<IotCommand> DacSetTime(std::string_view time);
IotCommand DacSetTimeInterval(int hygiene, int work, int overtime, int rest);
// `length` bytes of `data` (none when negative), zero-filled to the area.
IotCommand DacSetWorkdayOfMonth(int year, int month, const std::uint8_t* data, int length);
// The two frames, parts 1 and 2.
std::vector<IotCommand> DacSetWorkdayOfYear(int year, const std::uint8_t* data, int length);
IotCommand DacAddCard(int attribute, int code, int cardNumber, int cardId);
IotCommand DacAuthorize(int attribute, int cardNumber, int cardId);
IotCommand DacRemoveCard(int attribute, int cardNumber, int cardId);
IotCommand DacOpen();
IotCommand DacStartCapture();
IotCommand DacStopCapture();
IotCommand DacGetDoorStatus();

// ---- fingerprint door lock
std::optional<IotCommand> DLockFingerSetTime(std::string_view time);
IotCommand DLockFingerSetTimeInterval(int hygiene, int work, int overtime, int rest);
IotCommand DLockFingerSetWorkdayOfMonth(int year, int month, const std::uint8_t* data, int length);
std::vector<IotCommand> DLockFingerSetWorkdayOfYear(int year, const std::uint8_t* data, int length);
IotCommand DLockFingerOpenDoor();
IotCommand DLockFingerStartCapture();
IotCommand DLockFingerStopCapture();
IotCommand DLockFingerQueryDoorStatus();
IotCommand DLockFingerQueryUserCount();
IotCommand DLockFingerRemoveUser(int user);
IotCommand DLockFingerRemoveAllUser();
IotCommand DLockFingerQueryUserPermission(int user);
IotCommand DLockFingerSetMatchingLevel(int level);
IotCommand DLockFingerQueryMatchingLevel();
// The six frames of the feature, k = 1 to 6; none for a text longer than 260
// characters or one that decodes to no bytes (a lock must never be sent an
// empty feature, which would erase the one it holds).
std::vector<IotCommand> DLockFingerSetFingerprintFeature(int user, int permission, std::string_view feature);
IotCommand DLockFingerQueryFingerprintFeature(int user);
