#pragma once
// Reply actions and buttons shared by the laboratory, vehicle and security
// pages: a state icon switched by an on/off word and a command button that turns an icon pending whatever the result.
#include <string>

#include "demo/pages/page_kit.h"

namespace statewords {

// The element's "on" and "off" (ignoring case) set the icon on and off;
// any other word, or none, pending.
ReplyAction OnOffIcon(int iconId, std::string element = "status");

ButtonRow PendingButton(int id, std::string caption, KitCall call, int iconId);

}  // namespace statewords
