// Device commands: framing and sending, and the server's delivery reports.
#include <cstdlib>
#include <string>

#include "library/session/iot_app.h"
#include "library/session/iot_frame.h"
#include "library/session/iot_session.h"
#include "library/session/scp_record.h"
#include "library/xml/nvs_xml_store.h"
#include "platform/clock.h"

namespace {

constexpr char kClientSent[] = "client:命令已经发送到服务器";
constexpr char kClientFailed[] = "client:与服务通讯失败";
constexpr char kServerReceived[] = "server:服务已经收到命令";
constexpr char kServerFailed[] = "server:命令发送到NVS失败";
constexpr char kServerDelivered[] = "server:命令发送到NVS成功";

ScpRecord IotRequest(std::uint32_t nvsid, int cseq) {
  ScpRecord record = MakeScpRecord();
  ScpMessageSetCType(record.get(), "iot");
  ScpMessageSetCmd(record.get(), "iot");
  ScpMessageSetClass(record.get(), static_cast<int>(nvsid));
  ScpMessageSetContentType(record.get(), "sdp");
  ScpMessageSetContact(record.get(), "server");
  ScpMessageSetCSeq(record.get(), cseq);
  return record;
}

}  // namespace

int CIotSession::SendIotFrame(std::uint32_t nvsid, std::uint8_t commandCode, std::uint8_t functionByte,
                              const std::uint8_t* payload, unsigned payloadLength, std::uint16_t netId,
                              std::uint16_t nodeAddress, int recordFlag) {
  if (freeEvent_.IsSet()) return 0;  // shut down: no node file is written again
  const auto frame = BuildIotFrame(commandCode, functionByte, payload, payloadLength, netId, nodeAddress);
  if (!frame) return 0;
  const int cseq = static_cast<int>(TheIotApp().NextSequence());
  ScpRecord record = IotRequest(nvsid, cseq);
  ScpMessageSetBody(record.get(), frame->data(), static_cast<unsigned>(frame->size()));

  // The node's state and the pending entry are in place before the block
  // leaves, so that an acknowledgement arriving at once finds them.
  const bool recorded = IsRecordedFunction(functionByte);
  if (recorded) {
    CNvsXmlStore store(XmlFolder());
    if (store.OpenNvsFile(nvsid)) {
      store.SetNodeCommand(netId, nodeAddress, cseq, functionByte);
      store.SetNodeBackStatus(netId, nodeAddress, kClientSent);
      store.Save();
    }
    if (recordFlag) AddPendingCmd(cseq, static_cast<std::int32_t>(nvsid), netId, nodeAddress);
  }
  const bool sent = SendBlock(*record, 2, 20);
  if (recorded && !sent) {
    // Unless the server has already reported on this very command.
    CNvsXmlStore store(XmlFolder());
    if (store.OpenNvsFile(nvsid)) {
      std::string sequence, status;
      if (store.GetNodeChild(netId, nodeAddress, "cmdsendrandnum", sequence) &&
          sequence == std::to_string(cseq) && store.GetNodeChild(netId, nodeAddress, "cmdbackstatus", status) &&
          status == kClientSent) {
        store.SetNodeBackStatus(netId, nodeAddress, kClientFailed);
        store.Save();
      }
    }
  }
  return sent ? 1 : 0;
}

int CIotSession::SendIotPacket(std::uint32_t nvsid, const void* bytes, int length) {
  if (bytes == nullptr || length <= 0) return -1;
  ScpRecord record = IotRequest(nvsid, 0);
  if (!ScpMessageSetBody(record.get(), bytes, static_cast<unsigned>(length))) return -1;
  char block[kScpBlockSize];
  if (ScpMessageSerializeBlock(record.get(), block) == 0) return -1;  // would not fit one block
  return SendBlock(*record, 2, 20) ? static_cast<int>(kScpBlockSize) : 0;
}

int CIotSession::AddPendingCmd(std::int32_t cseq, std::int32_t nvsid, std::int32_t netId, std::int32_t nodeAddress) {
  pending_.Add(cseq, nvsid, netId, nodeAddress, wallClock_.load()());
  return 1;
}

int CIotSession::RemovePendingCmd(std::int32_t cseq) {
  pending_.Remove(cseq);
  return 1;
}

int CIotSession::ExpirePendingCmds() {
  if (!IsConnected()) return 0;
  return pending_.Expire(wallClock_.load()(), [this] { return IsConnected(); }) ? 1 : 0;
}

void CIotSession::OnIotAck(const ScpMessage& message) {
  const int cseq = ScpMessageGetCSeq(&message);
  const auto nvsid = static_cast<std::uint32_t>(ScpMessageGetClass(&message));
  const int status = std::atoi(ScpMessageGetCType(&message));
  const auto entry = FindPendingCmd(cseq);
  if (!entry) return;
  CNvsXmlStore store(XmlFolder());
  if (!store.OpenNvsFile(nvsid)) return;
  switch (status) {
    case 0:
      store.SetNodeBackStatus(entry->netId, entry->nodeAddress, kServerReceived);
      break;
    case 1:
      store.SetNodeBackStatus(entry->netId, entry->nodeAddress, kServerFailed);
      RemovePendingCmd(cseq);
      break;
    case 2:
      store.SetNodeBackStatus(entry->netId, entry->nodeAddress, kServerDelivered);
      RemovePendingCmd(cseq);
      break;
    default:
      break;
  }
  store.Save();
}
