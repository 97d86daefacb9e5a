#include "demo/pages/state_words.h"

#include <utility>

namespace statewords {

ReplyAction OnOffIcon(int iconId, std::string element) {
  return Switch(std::move(element), Words::kIgnoringCase,
                {{"on", {SetIcon(iconId, IconState::kOn)}}, {"off", {SetIcon(iconId, IconState::kOff)}}},
                {SetIcon(iconId, IconState::kPending)});
}

ReplyAction FaultWords(std::string familyWord) {
  return Switch("info", Words::kIgnoringCase,
                {{"sensor", {LogLine(familyWord + "传感器故障!")}}, {"power", {LogLine(familyWord + "电源故障")}}});
}

ButtonRow PendingButton(int id, std::string caption, KitCall call, int iconId) {
  return Button(id, std::move(caption)).Calls(std::move(call)).PendingIcon(iconId);
}

}  // namespace statewords
