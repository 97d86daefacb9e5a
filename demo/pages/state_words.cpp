#include "demo/pages/state_words.h"

#include <utility>

namespace statewords {

ReplyAction OnOffIcon(int iconId, std::string element) {
  return Switch(std::move(element), Words::kIgnoringCase,
                {{"on", {SetIcon(iconId, IconState::kOn)}}, {"off", {SetIcon(iconId, IconState::kOff)}}},
                {SetIcon(iconId, IconState::kPending)});
}

ButtonRow PendingButton(int id, std::string caption, KitCall call, int iconId) {
  return Button(id, std::move(caption)).Calls(std::move(call)).PendingIcon(iconId);
}

}  // namespace statewords
