// Device replies and events ("iotm").
#include "library/session/iot_session.h"
#include "library/session/message_body.h"
#include "library/session/reply_routing.h"

void CIotSession::OnIotMessage(const ScpMessage& message) {
  const auto nvsid = static_cast<std::uint32_t>(ScpMessageGetClass(&message));
  const std::string_view body = BodyOf(message);
  const auto reply = UnpackIotReply(nvsid, body, IsZipped(message));
  if (!reply) return;
  const RoutedReply routed = RouteIotReply(*reply);
  if (routed.notifyId != 0)
    PostNotify(routed.notifyId, nvsid, reply->netId, reply->nodeAddress, routed.text.c_str(), routed.text.size());
  if (!routed.deviceData || body.empty()) return;
  IotCallback callback;
  void* user;
  {
    std::lock_guard lock(callbackMutex_);
    callback = callback_;
    user = callbackUser_;
  }
  if (callback)
    callback(nvsid, reinterpret_cast<const unsigned char*>(body.data()), static_cast<int>(body.size()), user);
}
