// Node states, snapshots, recordings, the pan-tilt unit and the car gate.
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "library/api/json_writer.h"
#include "library/session/iot_session.h"
#include "library/session/message_body.h"
#include "library/session/scp_record.h"
#include "library/session/snapshot_lists.h"
#include "library/session/wire_text.h"
#include "platform/clock.h"
#include "sentrellplatform.h"

namespace {

constexpr std::size_t kInflateCapacity = 8192;

ScpRecord GatewayRequest(const char* cmd, std::uint32_t nvsid) {
  ScpRecord record = MakeScpRecord();
  ScpMessageSetCmd(record.get(), cmd);
  ScpMessageSetClass(record.get(), static_cast<int>(nvsid));
  return record;
}

}  // namespace

int CIotSession::QueryNodesStatus(std::uint32_t nvsid) {
  ScpRecord record = GatewayRequest("reqiot", nvsid);
  ScpMessageSetCType(record.get(), "iot");
  ScpMessageSetContentType(record.get(), "sdp");
  ScpMessageSetContact(record.get(), "server");
  return SendBlock(*record, 3, 20) ? static_cast<int>(kScpBlockSize) : 0;
}

int CIotSession::Snapshot(std::uint32_t nvsid) {
  return SendBlock(*GatewayRequest("snapshot", nvsid), 3, 20) ? static_cast<int>(kScpBlockSize) : 0;
}

int CIotSession::GetAutoSnap(std::uint32_t nvsid) {
  return SendBlock(*GatewayRequest("getautosnap", nvsid), 3, 20) ? static_cast<int>(kScpBlockSize) : 0;
}

int CIotSession::SetAutoSnap(std::uint32_t nvsid, const char* text, std::size_t length) {
  if (text == nullptr) return 0;
  ScpRecord record = GatewayRequest("setautosnap", nvsid);
  ScpMessageSetContentType(record.get(), "zip");
  std::string packed(kInflateCapacity, '\0');
  uLongf packedLength = static_cast<uLongf>(packed.size());
  if (compress(reinterpret_cast<Bytef*>(packed.data()), &packedLength, reinterpret_cast<const Bytef*>(text),
               static_cast<uLong>(length)) != Z_OK)
    return 0;
  // A body that does not fit one block is refused, not sent empty.
  if (!ScpMessageSetBody(record.get(), packed.data(), static_cast<unsigned>(packedLength))) return 0;
  return SendBlock(*record, 3, 20) ? static_cast<int>(kScpBlockSize) : 0;
}

bool CIotSession::SendRemoteRecord(std::uint32_t nvsid, const std::string& command) {
  ScpRecord record = GatewayRequest("remoterecord", nvsid);
  ScpMessageSetCType(record.get(), "sentrell");
  ScpMessageSetContentType(record.get(), "sdp");
  ScpMessageSetContact(record.get(), "server");
  if (!ScpMessageSetBody(record.get(), command.data(), static_cast<unsigned>(command.size()))) return false;
  return SendBlock(*record, 3, 20);
}

int CIotSession::PlayRecord(std::uint32_t nvsid, const char* fileName) {
  if (fileName == nullptr) return -1;
  return SendRemoteRecord(nvsid, "Command=Play\nFileName=" + Utf8ToWire(fileName) + "\nPosition=0\n") ? 1 : 0;
}

int CIotSession::SeekRecord(std::uint32_t nvsid, int position) {
  return SendRemoteRecord(nvsid, "Command=Seek\nPosition=" + std::to_string(position) + "\n") ? 1 : 0;
}

int CIotSession::StopRecord(std::uint32_t nvsid) { return SendRemoteRecord(nvsid, "Command=Stop\n") ? 1 : 0; }

int CIotSession::GetRecordList(std::uint32_t nvsid, const char* date, char* list, int timeoutMs) {
  if (date == nullptr) return -1;
  std::lock_guard call(recordListCallMutex_);
  const bool sent = SendRemoteRecord(nvsid, "Command=ReqList\nDate=" + Utf8ToWire(date) + "\n");
  getRecordEvent_.WaitFor(timeoutMs > 0 ? static_cast<std::uint32_t>(timeoutMs) : 0);
  if (list != nullptr) {
    std::lock_guard lock(recordMutex_);
    if (!recordListText_.empty()) {
      // At most the list's capacity, without a terminating zero.
      const std::size_t n = std::min(recordListText_.size(), kRecordListCapacity);
      std::memcpy(list, recordListText_.data(), n);
      recordListText_.clear();
    }
  }
  getRecordEvent_.Reset();
  return sent ? 1 : 0;
}

int CIotSession::PtuCtrl(std::uint32_t nvsid, int command, int value) {
  if (nvsid == 0 || IsClosed()) return 0;
  ScpRecord record = GatewayRequest("ptuctrl", nvsid);
  ScpMessageSetContentType(record.get(), "ptu");
  const std::uint8_t body[8] = {static_cast<std::uint8_t>(command & 0xFF),
                                static_cast<std::uint8_t>(~command & 0xFF), static_cast<std::uint8_t>(value & 0xFF)};
  ScpMessageSetBody(record.get(), body, sizeof body);
  // Under the send lock like every other request, so that the block stays whole.
  return SendBlock(*record, 2, 10) ? 1 : 0;
}

int CIotSession::SendCarCtrl(std::uint32_t nvsid, int isFree) {
  if (!IsConnected()) return 0;
  ScpRecord record = GatewayRequest("carctrl", nvsid);
  ScpMessageSetCType(record.get(), "upbar");
  if (isFree) ScpMessageSetContact(record.get(), "free");
  ScpMessageSetCSeq(record.get(), NextSeededRandom());
  return SendBlock(*record, 3, 20) ? 1 : 0;
}

void CIotSession::PostSnapshotText(std::uint32_t nvsid, const char* msg, const std::string& info) {
  Json::Value root(Json::objectValue);
  root["nvsid"] = static_cast<Json::UInt>(nvsid);
  root["msg"] = msg;
  root["info"] = info;
  const std::string text = WriteCompactJson(root);
  PostNotify(NOTIFY_SNAPMSG, nvsid, 0, 0, text.c_str(), text.size());
}

void CIotSession::OnSnapshotAck(const ScpMessage& message) {
  const auto nvsid = static_cast<std::uint32_t>(ScpMessageGetClass(&message));
  char info[512];
  std::snprintf(info, sizeof info, "http://%s:4901/%u/%s", Host().c_str(), nvsid,
                WireToUtf8(ScpMessageGetCName(&message)).c_str());
  PostSnapshotText(nvsid, "snapshot", info);
}

void CIotSession::OnSetAutoSnapAck(const ScpMessage& message) {
  const std::string contact = ScpMessageGetContact(&message);
  PostSnapshotText(static_cast<std::uint32_t>(ScpMessageGetClass(&message)), "setautosnap",
                   contact == "1" ? "success" : contact == "0" ? "failure" : "unknown");
}

void CIotSession::OnGetAutoSnapAck(const ScpMessage& message) {
  const auto nvsid = static_cast<std::uint32_t>(ScpMessageGetClass(&message));
  Json::Value list(Json::nullValue);
  if (IsZipped(message)) {
    const auto lines = Inflate(BodyOf(message), kInflateCapacity - 1);
    if (lines) list = BuildNodeListJson(nvsid, AsText(*lines));
    else PlatMessageBox("Buffer overflow!");
  } else {
    list = BuildNodeListJson(nvsid, "");
  }
  std::string text = list.isNull() ? std::string("null") : WriteCompactJson(list);
  const std::size_t space = text.find_first_of(" \t\r\n");
  if (space != std::string::npos) text.resize(space);
  PostSnapshotText(nvsid, "getautosnap", text);
}
