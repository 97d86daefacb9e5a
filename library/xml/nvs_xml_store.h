#pragma once
// CNvsXmlStore: creates, opens, changes and saves one of the gateway
// directory files ("nvs_list.xml", "nvs_warn.xml", "nvs_<id>.xml") for one
// use. A store holds the process-wide lock of these files from its first
// open to its destruction, so no reader ever meets a file half written and
// no two writers interleave; saves replace the file as a whole.
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <string>

#include "library/session/nvs_list.h"
#include "library/xml/xml_document.h"

class CNvsXmlStore {
 public:
  // Creates the folder when it is missing; `folder` ends with '/' (one is added when not).
  explicit CNvsXmlStore(const std::string& folder);
  virtual ~CNvsXmlStore();  // does not save
  CNvsXmlStore(const CNvsXmlStore&) = delete;
  CNvsXmlStore& operator=(const CNvsXmlStore&) = delete;

  // ---- files
  bool OpenNvsList();
  bool OpenWarnList();
  bool OpenNvsFile(std::uint32_t nvsid);
  int CreateNvsList();
  int CreateWarnList();
  bool CreateNvsFile();
  void Save();
  static std::string FormatNow();
  static std::string FormatTime(std::time_t time);
  // Test-only: the clock behind FormatNow (nullptr restores the real one).
  static void SetClockForTesting(std::function<std::time_t()> clock);

  // ---- list and alarm files
  int WriteNvsList(const NvsList& list);
  int AppendWarn(std::int32_t number, std::int32_t nvsid, std::int32_t type, std::time_t time, const char* text);

  // ---- fields of a gateway file
  void SetNvsField(const char* name, const char* text);
  void SetNvsFieldUInt(const char* name, std::uint32_t value);
  void SetServerIp(const char* text) { SetNvsField("serverip", text); }
  void SetNvsIp(const char* text) { SetNvsField("nvsip", text); }
  void SetNvsId(std::uint32_t value) { SetNvsFieldUInt("nvsid", value); }
  void SetFlag(std::uint32_t value) { SetNvsFieldUInt("flag", value); }
  void SetName(const char* text) { SetNvsField("name", text); }
  void SetNvsModel(const char* text) { SetNvsField("nvsmodel", text); }
  void SetNvsVersion(const char* text) { SetNvsField("nvsver", text); }
  void SetOnline(std::uint32_t value) { SetNvsFieldUInt("online", value); }
  void SetAdminRead(std::uint32_t value) { SetNvsFieldUInt("adminread", value); }
  void SetAlarm(std::uint32_t value) { SetNvsFieldUInt("alarm", value); }
  void SetUser(const char* text) { SetNvsField("user", text); }
  void SetCoordinates(const char* dx, const char* dy);
  void SetAddress(const char* text) { SetNvsField("address", text); }
  void SetMobile(const char* text) { SetNvsField("usermobile", text); }
  void SetVideoField(const char* name, const char* text);
  void SetVideoFieldUInt(const char* name, std::uint32_t value);
  void SetVideo(int h264, std::uint32_t width, std::uint32_t height, std::uint32_t fps, const char* extdata);

  // ---- node list of a gateway file
  int AddNode(int deviceStatus, const char* name, int type, int netId, int nodeAddress);
  int ClearNodes();
  int GetNodesCount();
  std::uint8_t GetNodesCheck();
  void SetNodesCheck(std::uint32_t value);
  int SetNodeChild(int netId, int nodeAddress, const char* child, const char* text);
  int SetNodeChildInt(int netId, int nodeAddress, const char* child, int value);
  int SetNodeDeviceStatus(int netId, int nodeAddress, int status);
  int SetNodeCommand(int netId, int nodeAddress, int sequence, int functionByte);
  int SetNodeBackStatus(int netId, int nodeAddress, const char* text);
  // The child's content; false when no node matches (or the store is not loaded).
  bool GetNodeChild(int netId, int nodeAddress, const char* child, std::string& out);
  int GetNodeType(int netId, int nodeAddress);

  bool IsLoaded() const { return loaded_; }
  const std::string& Path() const { return path_; }
  const CXmlDocument& Document() const { return document_; }

 private:
  bool Open(const std::string& fileName);
  int CreateFrom(const std::string& text);
  bool EnterPath(std::initializer_list<const char*> path);
  bool EnterNvs() { return EnterPath({"Lumora", "nvs"}); }
  bool EnterNodes() { return EnterPath({"Lumora", "nvs", "nodes"}); }
  // Positions the document on the first node that matches, with the child
  // found inside it (the child is the document's child position).
  bool FindNodeChild(int netId, int nodeAddress, const char* child);
  int CountChildren(const char* name);
  bool HasChildElement(const char* name);

  // The first node of the last node search that matched its net and
  // address, with its "netid" and "nodeaddr" children, while the document
  // stays at `revision`.
  struct FirstMatch {
    unsigned revision = 0;
    int netId = 0;
    int nodeAddress = 0;
    int node = 0;  // 0: none
    int netIdChild = 0;
    int addressChild = 0;
  };

  std::unique_lock<std::recursive_mutex> lock_;
  CXmlDocument document_;
  bool loaded_ = false;
  std::uint32_t nvsid_ = 0;
  std::string folder_;
  std::string path_;
  bool changed_ = false;
  FirstMatch firstMatch_;
};
