// Writes the seed corpus of every fuzz target from the project's own
// builders: blocks written by the stand-in's codec, device frames answered
// by its simulated devices, the texts the library's decoders give for them,
// node files written by the library's store, and notification datagrams.
//   fuzz_seed_corpus <folder>    (tests/fuzz/corpus; files are overwritten)
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <json/json.h>

#include "library/session/iot_reply.h"
#include "library/session/reply_routing.h"
#include "library/xml/nvs_xml_store.h"
#include "tools/gateway_pages.h"
#include "tools/iot_frames.h"
#include "tools/simulated_devices.h"
#include "tests/support/deflate.h"

namespace {

namespace fs = std::filesystem;
using standin::DeviceFrame;
using standin::OutgoingMessage;

constexpr int kNvs = 1000001;

class Writer {
 public:
  explicit Writer(fs::path root) : root_(std::move(root)) {}
  void Put(const std::string& target, const std::string& name, const std::string& bytes) {
    fs::create_directories(root_ / target);
    std::ofstream(root_ / target / name, std::ios::binary | std::ios::trunc) << bytes;
  }

 private:
  fs::path root_;
};

using testsupport::Deflate;

std::string Block(const OutgoingMessage& message) {
  const auto block = standin::BuildBlock(message);
  return block ? std::string(reinterpret_cast<const char*>(block->data()), block->size()) : std::string();
}

OutgoingMessage Message(const std::string& cmd, int classValue = kNvs, const std::string& body = {},
                        const std::string& contentType = {}) {
  return standin::ServerRequest(cmd, classValue, body, contentType);
}

// The first reply the simulated device of each decoded family gives to a
// command of each function byte, one per (code, function byte).
std::vector<DeviceFrame> DeviceReplies() {
  std::vector<DeviceFrame> out;
  for (int code = 0; code < 256; ++code) {
    if (DecoderOf(static_cast<std::uint8_t>(code)) == nullptr) continue;
    const standin::DeviceSimulator simulate = standin::SimulatorOf(static_cast<std::uint8_t>(code));
    std::map<int, DeviceFrame> byFunction;
    if (simulate != nullptr) {
      standin::DeviceState state{};
      for (int fn = 0; fn < 64; ++fn) {
        DeviceFrame command{1, 2, static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(fn), {1, 0, 2, 0}};
        std::vector<DeviceFrame> replies;
        simulate(command, state, replies);
        for (const DeviceFrame& reply : replies)
          if (reply.functionByte >= 16 && byFunction.size() < 4) byFunction.emplace(reply.functionByte, reply);
      }
    }
    if (byFunction.empty())
      byFunction.emplace(16, DeviceFrame{1, 2, static_cast<std::uint8_t>(code), 16, {1, 2, 3, 4, 5, 6, 7, 8}});
    for (const auto& [fn, frame] : byFunction) out.push_back(frame);
  }
  // The routing events.
  out.push_back(DeviceFrame{1, 2, 81, 7, {1, 0, 2, 0, 3, 0}});
  out.push_back(DeviceFrame{1, 2, 81, 13, {1, 0, 2, 0}});
  out.push_back(DeviceFrame{1, 2, 81, 240, {}});
  return out;
}

std::string FrameName(const DeviceFrame& f) {
  return "code" + std::to_string(f.commandCode) + "_fn" + std::to_string(f.functionByte);
}

// The message text the library's decoders give for a frame; "" for none.
std::string TextOf(const DeviceFrame& frame) {
  const auto reply = UnpackIotReply(kNvs, standin::EncodeDeviceFrame(frame), false);
  return reply ? RouteIotReply(*reply).text : std::string();
}

std::string FirstDataMember(const std::string& text) {
  Json::CharReaderBuilder builder;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors) || !root.isObject()) return {};
  const Json::Value& data = root["data"];
  if (!data.isObject() || data.getMemberNames().empty()) return {};
  return data.getMemberNames().front();
}

std::string NodeLines(const std::vector<std::string>& lines) {
  std::string body(2, '\0');
  for (std::size_t i = 0; i < lines.size(); ++i) body += (i ? "\n" : "") + lines[i];
  return body;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void WriteDeviceSeeds(Writer& out, const std::vector<DeviceFrame>& frames) {
  // The session's seeds carry the replies eight at a time.
  std::string replies;
  std::size_t count = 0;
  for (const DeviceFrame& frame : frames) {
    const std::string encoded = standin::EncodeDeviceFrame(frame);
    out.Put("iot_reply", FrameName(frame), std::string(1, '\0') + encoded);
    const std::string text = TextOf(frame);
    if (!text.empty()) {
      const std::string member = FirstDataMember(text);
      out.Put("json_readers", FrameName(frame), text + std::string(1, '\0') + member);
      out.Put("cm_parser", FrameName(frame), text + std::string(1, '\0') + member + std::string(1, '\0') + "unit");
      out.Put("notify_datagram", FrameName(frame), "VER=2.1&MSG=NODEMSG&DAT=" + text + std::string(1, '\0'));
    }
    replies += Block(standin::IotReply(kNvs, frame));
    if (++count % 8 == 0 || count == frames.size()) {
      out.Put("session_receive", "iotm_" + std::to_string((count + 7) / 8), replies);
      replies.clear();
    }
  }
  out.Put("iot_reply", "zipped", "\x01" + Deflate(standin::EncodeDeviceFrame(frames.front())));
  out.Put("cmscp_parser", "iotm", Block(standin::IotReply(kNvs, frames.front())));
}

void WriteSessionSeeds(Writer& out) {
  const std::vector<standin::Gateway> gateways = {
      {kNvs, standin::kGatewayOnline | standin::kGatewayAdminRead, "hall"},
      {1000002, 0, "garage"},
      {2000001, standin::kGatewayOnline | standin::kGatewayAlarm, "gate"}};
  std::string list;
  for (const auto& page : standin::GatewayListMessages(gateways, 2, 7).value_or(std::vector<OutgoingMessage>{}))
    list += Block(page);
  OutgoingMessage hello = Message("hello", 0);
  hello.from = "srv@platform";
  hello.contact = "ver=1.0";
  std::string login = Block(hello) + Block(Message("loginack", 1)) + list + Block(Message("update", 0));
  out.Put("session_receive", "login_and_list", login);
  out.Put("cmscp_parser", "hello", Block(hello));
  out.Put("cmscp_parser", "list_page", list.substr(0, 1212));

  const std::string nodes = NodeLines({"1:lamp:online:81:3", "2:curtain:OFFLINE:82:3", "3:lock:online:80:3"});
  std::string directory = list + Block(Message("sensor", kNvs, nodes)) +
                          Block(Message("sensor", 2000001, Deflate(nodes), "zip")) +
                          Block(Message("caminfo", kNvs,
                                        Deflate("CamUserName=bob;CamUserMobile=5550100;CamAddress=Main street;"
                                                "CamIP=10.1.2.3;CanRead=1;fx=12.5;fy=45.5"),
                                        "zip")) +
                          Block(Message("caminfo", 2000001, "CamUserName=ann;CanRead=0")) + Block(Message("config"));
  out.Put("session_receive", "nodes_and_cameras", directory);
  out.Put("cmscp_parser", "sensor", Block(Message("sensor", kNvs, nodes)));

  OutgoingMessage warn = Message("warn", 3, "door open");
  warn.cseq = 1700000000;
  warn.contact = std::to_string(kNvs);
  warn.callId = std::to_string((1 << 16) | 2);
  OutgoingMessage iotack = standin::IotAck(77, kNvs, 2);
  OutgoingMessage autosnap = Message("setautosnapack");
  autosnap.contact = "1";
  OutgoingMessage snapshot = Message("snapshotack");
  snapshot.cname = "snap.jpg";
  const std::string records = "FileName=a.mp4;FileName=b.mp4;";
  const std::string packed = Deflate(records);
  std::string alarms = Block(warn) + Block(iotack) + Block(autosnap) + Block(snapshot) +
                       Block(Message("getautosnapack", kNvs, Deflate("1:lamp:online:81:3"), "zip")) +
                       Block(Message("remoterecordack", kNvs,
                                     "?CompressLen=" + std::to_string(packed.size()) + "FileList=" + packed)) +
                       Block(Message("error")) + Block(Message("message")) + Block(Message("nonsense"));
  out.Put("session_receive", "alarms_and_media", alarms);
  out.Put("cmscp_parser", "warn", Block(warn));
  out.Put("cmscp_parser", "iotack", Block(iotack));

  OutgoingMessage invite = Message("invite", 1);
  invite.from = "gw_1000001@platform";
  invite.callId = "call-1";
  OutgoingMessage ringing = Message("ringing", 0);
  ringing.from = "user@platform";
  std::string call = Block(invite) + Block(ringing) + Block(Message("inviteack", 3)) + Block(Message("ringback", 0)) +
                     Block(Message("rtpcon", 0)) + Block(Message("bye", 0));
  out.Put("session_receive", "call", call);
  out.Put("cmscp_parser", "invite", Block(invite));

  OutgoingMessage ack = Message("loginack", 1);
  ack.kind = standin::MessageKind::Answer;
  ack.ackCode = 200;
  out.Put("cmscp_parser", "answer", Block(ack));
  OutgoingMessage cancel;
  cancel.kind = standin::MessageKind::Cancel;
  out.Put("cmscp_parser", "cancel", Block(cancel));
  // A block cut short, then one whole: the stream comes back in step.
  out.Put("session_receive", "resync", Block(hello).substr(0, 500) + Block(Message("update", 0)));
}

void WriteXmlSeeds(Writer& out) {
  const fs::path dir = fs::temp_directory_path() / ("sentrell-seed-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  {
    CNvsXmlStore store(dir.string());
    store.OpenNvsFile(kNvs);
    store.CreateNvsFile();
    store.SetNvsId(kNvs);
    store.SetName("hall \xE4\xB8\xAD");
    store.SetOnline(1);
    store.AddNode(1, "lamp", 81, 1, 2);
    store.AddNode(0, "lock & key", 80, 1, 3);
    store.Save();
  }
  std::string gateway;
  for (const auto& entry : fs::directory_iterator(dir)) gateway = ReadFile(entry.path());
  fs::remove_all(dir);

  const std::string small = "<?xml version=\"1.0\"?>\r\n<root a='1' b=\"x &amp; y\"><item id='1'>text &lt; "
                            "&#x4E2D;</item><!-- note --><![CDATA[<raw>]]><empty/><?pi data?></root>";
  const std::string doctype = "<!DOCTYPE r [<!ELEMENT r ANY>]><r><A>x</a><b></r>";
  std::u16string wide = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><r>\u4E2D</r>";
  std::string utf16le = "\xFF\xFE";
  for (char16_t c : wide) utf16le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  std::string utf16be = "\xFE\xFF";
  for (char16_t c : wide) utf16be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};

  const std::pair<const char*, std::string> texts[] = {
      {"gateway_file", gateway},
      {"small", small},
      {"doctype", doctype},
      {"utf8_bom", "\xEF\xBB\xBF" + small},
      {"gbk_declared", "<?xml version=\"1.0\" encoding=\"gbk\"?><r>\xD6\xD0</r>"},
      {"utf16le_bom", utf16le},
      {"utf16be_bom", utf16be},
  };
  for (const auto& [name, text] : texts) {
    out.Put("xml_document", name, std::string(1, '\0') + text);
    out.Put("xml_file", name, std::string(1, '\0') + text);
  }
  out.Put("xml_document", "gbk_ignore_case", "\x03" + doctype);
  out.Put("xml_file", "gbk_process", "\x01<?xml version=\"1.0\" encoding=\"gb2312\"?><r>\xD6\xD0</r>");
}

void WriteDatagramSeeds(Writer& out) {
  out.Put("notify_datagram", "nvslist", std::string("VER=2.1&MSG=NVSLIST&DAT=") + '\0');
  out.Put("notify_datagram", "version_2_0", "VER=2.0&MSG=NODEMSG&WPARAM=1&LPARAM=2&DATA={\"nvsid\":1}\n");
  out.Put("notify_datagram", "version_3_0", "VER=3.0&MSG=NODEMSG&SRC=srv&NVS=1000001&NET=1&NOD=2&DAT={}");
  out.Put("notify_datagram", "unknown_version", "VER=9.9&MSG=X&DAT=y");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  Writer out{fs::path(argv[1])};
  WriteDeviceSeeds(out, DeviceReplies());
  WriteSessionSeeds(out);
  WriteXmlSeeds(out);
  WriteDatagramSeeds(out);
  return 0;
}
