// The gateway list, the node lists and the camera data of the gateways.
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "library/session/iot_session.h"
#include "library/session/message_body.h"
#include "library/session/node_line.h"
#include "library/session/wire_text.h"
#include "library/xml/nvs_xml_store.h"
#include "platform/clock.h"

namespace {

constexpr std::size_t kInflateCapacity = 8192;
constexpr std::size_t kNodeDataCapacity = 3636;
constexpr std::size_t kMaxNodeLines = 64;
constexpr std::uint32_t kH264FromNvsid = 2000000;

std::int32_t ReadInt32(const char* p) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
  return static_cast<std::int32_t>(v);
}

// A list page: header word, count (clamped to the page's 128 slots), slots.
struct Page {
  char bytes[kNvsPageSize] = {};
  std::int32_t Header() const { return ReadInt32(bytes); }
  std::size_t Count() const {
    const std::int32_t n = ReadInt32(bytes + 4);
    return n <= 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), kNvsPageEntries);
  }
  NvsListEntry Entry(std::size_t i) const {
    NvsListEntry e{};
    std::memcpy(&e, bytes + kNvsListHeaderSize + i * sizeof(NvsListEntry), sizeof e);
    return e;
  }
};

}  // namespace

NvsList CIotSession::CopyNvsList() const {
  std::lock_guard lock(listMutex_);
  return *nvsList_;
}

void CIotSession::OnListPage(const ScpMessage& message) {
  Page page;
  if (IsZipped(message)) {
    const auto data = Inflate(BodyOf(message), kInflateCapacity - 1);
    if (!data || data->empty()) {
      std::printf("gateway list page does not inflate; list unchanged\n");
      return;
    }
    std::memcpy(page.bytes, data->data(), std::min(data->size(), sizeof page.bytes));
  }
  const std::string ctype = ScpMessageGetCType(&message);
  bool complete = false;
  {
    std::lock_guard lock(listMutex_);
    auto replaceWithPage = [&] {
      nvsList_->header = page.Header();
      nvsList_->count = static_cast<std::int32_t>(page.Count());
      for (std::size_t i = 0; i < kNvsPageEntries; ++i) nvsList_->entries[i] = page.Entry(i);
    };
    if (ctype.empty()) {
      replaceWithPage();
      complete = true;
    } else {
      int part = 0, parts = 0;
      if (std::sscanf(ctype.c_str(), "%d/%d", &part, &parts) != 2) return;
      if (part == 1) {
        replaceWithPage();
      } else {
        const std::size_t have = nvsList_->ValidCount();
        const std::size_t room = kNvsListCapacity - have;
        const std::size_t slots = std::min(kNvsPageEntries, room);
        for (std::size_t i = 0; i < slots; ++i) nvsList_->entries[have + i] = page.Entry(i);
        nvsList_->count = static_cast<std::int32_t>(have + std::min(page.Count(), room));
      }
      complete = part == parts;
    }
  }
  if (complete) {
    listReceived_ = 1;
    closed_ = 0;
  }
  if (listReceived_) {
    WriteListFiles();
    PostNotify(NOTIFY_NVSLIST, 0, 0, 0, nullptr, 0);
  }
  if (complete && pollPending_.exchange(false)) StartPollPass();
  listReceived_ = 1;
  closed_ = 0;
}

void CIotSession::WriteListFiles() {
  const NvsList list = CopyNvsList();
  const std::string folder = XmlFolder();
  const std::string host = Host();
  for (std::size_t i = 0; i < list.ValidCount(); ++i) {
    const NvsListEntry& entry = list.entries[i];
    const auto nvsid = static_cast<std::uint32_t>(entry.nvsid);
    CNvsXmlStore store(folder);
    if (!store.OpenNvsFile(nvsid) && !store.CreateNvsFile()) continue;
    store.SetServerIp(host.c_str());
    store.SetNvsId(nvsid);
    store.SetName(WireNameToUtf8(entry.name, sizeof entry.name).c_str());
    store.SetOnline((entry.flags & kNvsOnline) ? 1 : 0);
    store.SetAlarm((entry.flags & kNvsAlarm) ? 1 : 0);
    store.SetAdminRead((entry.flags & kNvsAdminRead) ? 1 : 0);
    const bool h264 = nvsid >= kH264FromNvsid;
    store.SetVideo(h264 ? 1 : 0, h264 ? 704 : 720, 576, 13, nullptr);
    store.Save();
  }
  CNvsXmlStore store(folder);
  if (!store.OpenNvsList()) store.CreateNvsList();
  store.WriteNvsList(list);
  store.Save();
}

void CIotSession::StartPollPass() {
  std::lock_guard lock(threadsMutex_);
  if (stopping_) return;
  if (pollRunning_) {
    pollPending_ = true;  // the pass still running is followed by one for the new list
    return;
  }
  if (pollThread_.joinable()) pollThread_.join();  // it has finished
  auto list = std::make_unique<NvsList>(CopyNvsList());
  pollRunning_ = true;
  pollThread_ = std::thread([this, l = std::move(list)]() mutable { NvsPollThreadProc(std::move(l)); });
}

void CIotSession::NvsPollThreadProc(std::unique_ptr<NvsList> list) {
  plat::SleepMs(2);
  const std::size_t count = list->ValidCount();
  bool stop = false;
  for (std::size_t i = 0; i < count && !stop; ++i) {
    if (!(list->entries[i].flags & kNvsOnline)) continue;
    RequestAllNodesData(static_cast<std::uint32_t>(list->entries[i].nvsid));
    stop = freeEvent_.WaitFor(timing_.pollNodesMs);
  }
  if (!stop) plat::SleepMs(3);
  for (std::size_t i = 0; i < count && !stop; ++i) {
    if (!(list->entries[i].flags & kNvsOnline)) continue;
    GetCamInfo(static_cast<std::uint32_t>(list->entries[i].nvsid));
    stop = freeEvent_.WaitFor(timing_.pollCameraMs);
  }
  pollRunning_ = false;
}

void CIotSession::OnSensor(const ScpMessage& message) {
  const auto nvsid = static_cast<std::uint32_t>(ScpMessageGetClass(&message));
  std::string data;
  if (IsZipped(message)) {
    const auto inflated = Inflate(BodyOf(message), kInflateCapacity - 1);
    if (!inflated) {
      std::printf("node list of %u does not inflate; unchanged\n", nvsid);
      return;
    }
    data = *inflated;
  } else {
    data = std::string(BodyOf(message));
  }
  const unsigned h0 = data.size() > 0 ? static_cast<unsigned char>(data[0]) : 0;
  const unsigned h1 = data.size() > 1 ? static_cast<unsigned char>(data[1]) : 0;
  if (h1 != 0 && h0 > 1) {
    const auto inner = Inflate(data, kNodeDataCapacity);
    if (inner && inner->size() >= 2) {
      data = *inner;
      data[0] = 1;
      data[1] = 0;
    }
  }
  const std::size_t firstCounted = (h1 != 0 && h0 >= 2 && h0 <= 9) ? 32 : 0;
  const std::vector<NodeLine> lines =
      ParseNodeLines(data.size() > 2 ? AsText(std::string_view(data).substr(2)) : std::string_view(), kMaxNodeLines);

  CNvsXmlStore store(XmlFolder());
  if (!store.OpenNvsFile(nvsid) && !store.CreateNvsFile()) return;
  const std::uint8_t stored = store.GetNodesCheck();
  const std::uint8_t sum = NodeLinesCheck(lines, firstCounted);
  const bool unchanged = store.GetNodesCount() != 0 && stored == sum;
  if (!unchanged) store.ClearNodes();
  for (const NodeLine& line : lines) {
    if (line.name.empty()) continue;
    if (unchanged) store.SetNodeDeviceStatus(line.netId, line.address, line.state);
    else store.AddNode(line.state, WireToUtf8(line.name).c_str(), line.type, line.netId, line.address);
  }
  if (!unchanged) store.SetNodesCheck(sum);
  store.Save();
  char text[32];
  const int length = std::snprintf(text, sizeof text, "{\"nvsid\":%u}", nvsid);
  PostNotify(NOTIFY_NODLIST, nvsid, 0, 0, text, static_cast<std::size_t>(length));
}

void CIotSession::OnCamInfo(const ScpMessage& message) {
  const auto nvsid = static_cast<std::uint32_t>(ScpMessageGetClass(&message));
  std::string data;
  if (IsZipped(message)) {
    const auto inflated = Inflate(BodyOf(message), kInflateCapacity - 1);
    if (!inflated) {
      std::printf("camera data of %u does not inflate; unchanged\n", nvsid);
      return;
    }
    data = *inflated;
  } else {
    data = std::string(BodyOf(message));
  }
  const CameraData camera = ParseCameraData(AsText(data));
  CNvsXmlStore store(XmlFolder());
  if (!store.OpenNvsFile(nvsid)) return;
  store.SetAddress(WireToUtf8(camera.address).c_str());
  store.SetUser(WireToUtf8(camera.userName).c_str());
  store.SetMobile(WireToUtf8(camera.mobile).c_str());
  store.SetAdminRead(static_cast<std::uint32_t>(camera.canRead));
  store.SetCoordinates(WireToUtf8(camera.fx).c_str(), WireToUtf8(camera.fy).c_str());
  store.SetNvsIp(WireToUtf8(camera.ip).c_str());
  store.Save();
}
