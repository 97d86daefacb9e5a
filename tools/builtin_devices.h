#pragma once
// The devices of the built-in platform: every "iot" is acknowledged (received,
// then delivered) and the simulated lamps, switches, curtains, box power and
// door contacts answer the way such devices do, keeping their state.
#include <memory>
#include <vector>

#include "tools/standin_server.h"

namespace standin {

class SimulatedDevices {
 public:
  SimulatedDevices();
  // The answers to one "iot" request.
  std::vector<OutgoingMessage> Answer(const ParsedMessage& request);

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace standin
