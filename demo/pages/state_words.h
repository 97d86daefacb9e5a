#pragma once
// Reply actions and buttons shared by the laboratory, vehicle and security
// pages: a state icon switched by an on/off word, the fault words, and a
// command button that turns an icon pending whatever the result.
#include <string>

#include "demo/pages/page_kit.h"

namespace statewords {

// The element's "on" and "off" (ignoring case) set the icon on and off;
// any other word, or none, pending.
ReplyAction OnOffIcon(int iconId, std::string element = "status");

// "fault": "sensor" and "power" of "info" (ignoring case) log the family
// word followed by "传感器故障!" and "电源故障".
ReplyAction FaultWords(std::string familyWord);

ButtonRow PendingButton(int id, std::string caption, KitCall call, int iconId);

}  // namespace statewords
