#include "tools/builtin_devices.h"

#include <map>
#include <mutex>
#include <tuple>

#include "tools/iot_frames.h"
#include "tools/simulated_devices.h"

namespace standin {

namespace {

struct Simulator {
  std::uint8_t code;
  DeviceSimulator simulate;
};

// Command code to simulated device.
constexpr Simulator kSimulators[] = {
    {44, &SimulateSwitches}, {81, &SimulateSwitches}, {82, &SimulateSwitches},
    {83, &SimulateSwitches}, {85, &SimulateSwitches}, {209, &SimulateSwitches},
    {49, &SimulateHealthMonitor}, {97, &SimulateCabinet}, {196, &SimulateSphygmometer},
    {46, &SimulateSampling}, {47, &SimulateSampling}, {48, &SimulateSampling}, {60, &SimulateSampling},
    {61, &SimulateSampling}, {62, &SimulateSampling}, {63, &SimulateSampling},
    {86, &SimulateLaboratory}, {87, &SimulateLaboratory}, {88, &SimulateLaboratory}, {90, &SimulateLaboratory},
    {93, &SimulateLaboratory}, {94, &SimulateLaboratory}, {100, &SimulateLaboratory},
    {80, &SimulateDoorLock},
    {96, &SimulateFingerprintLock},
    {65, &SimulateMeters},
    {66, &SimulateMeters},
    {95, &SimulateMeters},
    {89, &SimulateVehicleReader}, {102, &SimulateInfraredRemote}, {103, &SimulateAdapter},
};

}  // namespace

DeviceSimulator SimulatorOf(std::uint8_t commandCode) {
  for (const Simulator& s : kSimulators)
    if (s.code == commandCode) return s.simulate;
  return nullptr;
}

struct SimulatedDevices::State {
  std::mutex mutex;
  std::map<std::tuple<int, int, int, int>, DeviceState> devices;  // (nvsid, code, net, node)
};

SimulatedDevices::SimulatedDevices() : state_(std::make_shared<State>()) {}

std::vector<OutgoingMessage> SimulatedDevices::Answer(const ParsedMessage& request) {
  const int nvsid = request.IntHeader("Class");
  const int cseq = request.IntHeader("CSeq");
  std::vector<OutgoingMessage> out = {IotAck(cseq, nvsid, 0), IotAck(cseq, nvsid, 2)};
  const auto frame = DecodeDeviceFrame(request.body);
  if (!frame) return out;
  const DeviceSimulator simulate = SimulatorOf(frame->commandCode);
  if (!simulate) return out;
  std::vector<DeviceFrame> replies;
  {
    std::lock_guard lock(state_->mutex);
    DeviceState& device = state_->devices[{nvsid, frame->commandCode, frame->netId, frame->nodeAddress}];
    simulate(*frame, device, replies);
  }
  for (const DeviceFrame& reply : replies) out.push_back(IotReply(nvsid, reply));
  return out;
}

}  // namespace standin
