#pragma once
// CIotSession: everything of one connection to the platform server, behind
// one handle: the socket, the log-in state, the worker threads and timers,
// the gateway list and the notification targets.
//
// Threads: exports run on the application's threads, the receive dispatcher
// on the socket's event thread, the keep-alive on its timer thread, and the
// connect and reconnect work on threads the session owns and joins. Every
// flag they share is atomic; texts are guarded by locks; every request is
// built in a record of its own.
#include <atomic>
#include <ctime>
#include <optional>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "library/session/audio_call_socket.h"
#include "library/session/cmscp_stream.h"
#include "library/session/event_socket.h"
#include "library/session/nvs_list.h"
#include "library/session/pending_commands.h"
#include "library/session/notify_copies.h"
#include "library/session/scp_message.h"
#include "library/session/session_timing.h"
#include "platform/manual_reset_event.h"
#include "platform/periodic_timer.h"
#include "platform/random_generator.h"
#include "sentrell.h"

using IotCallback = CM_IOTCALLBACK;

class CIotSession : public CEventSocket {
 public:
  // Capacities of CM_GetServerInfo's buffers, NUL included.
  static constexpr std::size_t kServerInfoFromSize = 32;
  static constexpr std::size_t kServerInfoContactSize = 32;
  static constexpr std::size_t kServerInfoBodySize = 512;
  static constexpr std::size_t kRecordListCapacity = 4096;

  CIotSession();
  // Shuts the session down when that has not been done yet.
  ~CIotSession() override;

  // Ends the live session, whoever still holds it: sets the free and
  // ring-back events (a waiting call or log-in ends within its wait step),
  // sends "quit" while connected, joins the worker threads, ends the audio
  // call, closes the connection and removes the cached XML files. Nothing
  // is sent on the session afterwards, and what is left goes with the
  // object. Only the first call does anything.
  void Shutdown();

  // ---- exports' operations
  // 1 logged in, 0 "login" not sent or not accepted in time, -1 no connection,
  // no "hello" answer, a missing argument or a credential too long to send.
  int Login(const char* server, const char* user, const char* password);
  int GetServerInfo(char* from, char* contact, char* body);
  int SetIotCallback(IotCallback callback, void* user);

  // ---- notification targets and delivery
  int SetNotifyWindow(PlatWindow window);
  int SetNotifyThreadId(std::uint32_t threadId);
  int SetNotifyUdpPort(int port);
  // Delivers one notification to every target that is set; `text` may be
  // nullptr (NVSLIST). The node address is carried inside the text.
  int PostNotify(std::uint32_t id, std::uint32_t nvsid, std::uint16_t netId, std::uint16_t nodeAddress,
                 const char* text, std::size_t length);
  int SendNotifyUdp(const char* bytes, std::size_t length);
  // Frees the notification copies that may go (the periodic purge).
  void PurgeNotifyCopies();
  std::size_t NotifyCopiesHeld() const { return copies_.Size(); }

  // ---- gateway directory and account settings
  int SetNvsXmlPath(const char* folder);
  int GetNvsXmlPath(char* folder);
  int RequestAllNodesData(std::uint32_t nvsid);
  int GetCamInfo(std::uint32_t nvsid);
  int GetConfig();
  int PutConfig(int alarm, int canread, const char* newPassword);
  int ConfigSet(int alarm, int canread);
  int ConfigChangePassword(int unused, const char* newPassword);
  // A copy of the gateway list as it stands.
  NvsList CopyNvsList() const;

  // ---- media requests: node states, snapshots, recordings, pan-tilt, car gate
  int QueryNodesStatus(std::uint32_t nvsid);
  int Snapshot(std::uint32_t nvsid);
  int SetAutoSnap(std::uint32_t nvsid, const char* text, std::size_t length);
  int GetAutoSnap(std::uint32_t nvsid);
  int PlayRecord(std::uint32_t nvsid, const char* fileName);
  int SeekRecord(std::uint32_t nvsid, int position);
  int StopRecord(std::uint32_t nvsid);
  int GetRecordList(std::uint32_t nvsid, const char* date, char* list, int timeoutMs);
  // Pan-tilt and car gate: 1 when the block was sent, 0 when nothing was
  // (nvsid 0 or a closed connection for the pan-tilt, not connected, every
  // try failed).
  int PtuCtrl(std::uint32_t nvsid, int command, int value);
  int VlrUpBar(std::uint32_t nvsid, int isFree) { return SendCarCtrl(nvsid, isFree); }
  int SendCarCtrl(std::uint32_t nvsid, int isFree);

  // ---- device commands
  // Frames `payload` for the node and sends it as "iot": 1 sent, 0 not (or a
  // payload longer than 243 bytes). Commands with function bytes 16-31 and
  // 48-63 record their state in the node file and, with `recordFlag`, wait
  // in the pending table for the server's delivery report.
  int SendIotFrame(std::uint32_t nvsid, std::uint8_t commandCode, std::uint8_t functionByte,
                   const std::uint8_t* payload, unsigned payloadLength, std::uint16_t netId,
                   std::uint16_t nodeAddress, int recordFlag);
  // The caller's bytes as the body of "iot", unframed: 1212 sent, 0 not sent,
  // -1 for bytes whose block would not fit.
  int SendIotPacket(std::uint32_t nvsid, const void* bytes, int length);
  int AddPendingCmd(std::int32_t cseq, std::int32_t nvsid, std::int32_t netId, std::int32_t nodeAddress);
  std::optional<PendingCmdEntry> FindPendingCmd(std::int32_t cseq) const { return pending_.Find(cseq); }
  int RemovePendingCmd(std::int32_t cseq);
  int ExpirePendingCmds();
  std::size_t PendingCount() const { return pending_.Size(); }
  // Test-only: the clock (seconds since 1970) of the pending table.
  void SetWallClockForTesting(std::time_t (*clock)()) { wallClock_ = clock ? clock : &WallClock; }

  // ---- connection and log-in
  int ConnectServer(const std::string& host, int port, std::uint32_t timeoutMs, bool asynchronous);
  int SendLoginHello();
  int SendLoginRequest(const std::string& user, const std::string& password);
  bool SendConnectRequest(const std::string& user, const std::string& password);
  bool SendQuit();

  // Sends one whole block under the send lock: `length` when all of it left,
  // 0 when the session is not connected or the block could not be sent. A
  // block cut in the middle closes the connection, whose stream would be out
  // of step.
  int SendLocked(const char* bytes, int length);
  // The same without the connected test.
  int SendWhole(const char* bytes, int length);
  // Serialises `record` into a zero-filled 1212-byte block and sends it, up
  // to `tries` times with `pauseMs` between tries. False when nothing went out.
  bool SendBlock(const ScpMessage& record, int tries, std::uint32_t pauseMs);

  // ---- receive side (event thread)
  void OnReceive(int errorCode) override;
  void OnClose(int errorCode) override;
  // Bytes read from the server connection: gathered into blocks and dispatched.
  void ReceiveBytes(const char* data, std::size_t length);
  void Dispatch(const ScpMessage& message);

  // ---- state, for the other parts of the library and for tests
  bool IsConnected() const { return connected_.load() != 0; }
  bool IsHelloAcked() const { return helloAcked_.load() != 0; }
  bool IsLoginAcked() const { return loginAcked_.load() != 0; }
  int LoginResult() const { return loginResult_.load(); }
  bool IsListReceived() const { return listReceived_.load() != 0; }
  bool IsClosed() const { return closed_.load() != 0; }
  bool IsReconnectThreadStarted() const { return reconnectStarted_.load(); }
  bool IsKeepAliveRunning() const { return keepAlive_.IsRunning(); }
  int KeepAliveFailures() const { return keepAliveFailures_.load(); }
  std::string XmlFolder() const;
  std::string RecordListText() const;
  plat::ManualResetEvent& FreeEvent() { return freeEvent_; }
  plat::ManualResetEvent& GetRecordEvent() { return getRecordEvent_; }
  const SessionTiming& Timing() const { return timing_; }
  // Test-only fault injection: while set, every send fails without touching the socket.
  void FailSendsForTesting(bool fail) { failSendsForTesting_ = fail; }
  // Test-only: marks the session connected and logged in (or neither) without a socket,
  // so that received blocks take the logged-in paths.
  void SetLoggedInForTesting(bool loggedIn) {
    connected_ = loggedIn ? 1 : 0;
    helloAcked_ = loggedIn ? 1 : 0;
    loginAcked_ = loggedIn ? 1 : 0;
    loginResult_ = loggedIn ? 1 : 0;
  }
  // The next number of the session's generator after seeding it with the time.
  int NextSeededRandom();

  // ---- audio call (session_call.cpp)
  // Calls a peer and waits, pumping the calling thread's messages: 2 not
  // connected, 4 no answer in time (also when the session is shut down
  // while the call waits), 5 the media connection failed, -1 an
  // own From or a To that does not fit its field (nothing sent); otherwise
  // the result the answer carried (0 accepted; only then is the media
  // connection opened).
  int Invite(const std::string& peerId, int form, int mode, int timeoutMs);
  // Sends "bye" while connected and stops the call's audio in any case. 0.
  int StopCall();
  int SendRinging();
  int SendInviteAck(const std::string& peerId, int form, int cseq, int result);
  int SendRingback(const std::string& peerId, int form, int cseq, int result);
  // 1 connected and started, 0 failed (no media connection left).
  int OpenMediaConnection(const std::string& callId, int mode);
  int CloseMediaConnection();
  // The session's end: the media connection goes.
  void EndCall();
  int InviteResult() const { return inviteResult_.load(); }
  std::string OwnCallId() const;
  std::string PeerCallId() const;
  std::shared_ptr<CAudioCallSocket> MediaConnection() const;
  std::string LocalIp() const;

 private:
  void SetPeerCallId(const std::string& callId);
  // "bye" and "ringing": the kept From and To, the own CallID.
  int SendCallNotice(const char* cmd);

  mutable std::mutex callMutex_;  // the call texts and the media connection
  std::string ownCallId_;
  std::string peerCallId_;
  std::string callFrom_;
  std::string callTo_;
  std::atomic<int> inviteResult_{2};
  std::shared_ptr<CAudioCallSocket> audioCall_;
  // ---- end of audio call

 public:

 private:
  struct Credentials {
    std::string user, password;
  };

  // Pumps the calling thread's messages in [0, maxMessage] (0: any) every
  // wait step until `done` holds (true), `timeoutMs` pass or the session is
  // being freed (false).
  template <class Done>
  bool WaitPumping(Done done, std::uint32_t timeoutMs, std::uint32_t maxMessage);
  void StartKeepAlive();
  void KeepAliveTimerProc();
  void ReconnectThreadProc();
  void StartReconnectThreadOnce();
  void JoinConnectThread();
  static std::time_t WallClock() { return std::time(nullptr); }
  void SetCredentials(const std::string& user, const std::string& password);
  Credentials GetCredentials() const;
  std::string Host() const;

  // Dispatcher branches.
  void OnUpdate(const ScpMessage& message);
  void OnLoginAck(const ScpMessage& message);
  void OnHello(const ScpMessage& message);
  void OnRemoteRecordAck(const ScpMessage& message);
  void OnWarn(const ScpMessage& message);
  void OnListPage(const ScpMessage& message);
  void OnInvite(const ScpMessage& message);
  void OnRinging(const ScpMessage& message);
  void OnBye(const ScpMessage& message);
  void OnInviteAck(const ScpMessage& message);
  void OnRingBack(const ScpMessage& message);
  void OnRtpCon(const ScpMessage& message);
  void OnIotMessage(const ScpMessage& message);
  void OnIotAck(const ScpMessage& message);
  void OnConfig(const ScpMessage& message);
  void OnSensor(const ScpMessage& message);
  void OnCamInfo(const ScpMessage& message);
  void WriteListFiles();
  void StartPollPass();
  void NvsPollThreadProc(std::unique_ptr<NvsList> list);
  bool SendRemoteRecord(std::uint32_t nvsid, const std::string& command);
  void PostSnapshotText(std::uint32_t nvsid, const char* msg, const std::string& info);
  void OnSnapshotAck(const ScpMessage& message);
  void OnSetAutoSnapAck(const ScpMessage& message);
  void OnGetAutoSnapAck(const ScpMessage& message);
  void OnIgnored(const ScpMessage& message);

  struct Branch {
    const char* cmd;
    void (CIotSession::*handler)(const ScpMessage&);
  };
  static const Branch kBranches[];

  const SessionTiming timing_;

  std::atomic<int> connected_{0};
  std::atomic<int> helloAcked_{0};
  std::atomic<int> loginAcked_{0};
  std::atomic<int> loginResult_{0};
  std::atomic<int> listReceived_{0};
  std::atomic<int> keepAliveFailures_{0};
  std::atomic<int> closed_{0};
  std::atomic<bool> reconnectStarted_{false};
  std::atomic<bool> failSendsForTesting_{false};

  mutable std::mutex stateMutex_;  // host, port, credentials, xml folder
  std::string host_;
  int port_ = 0;
  Credentials credentials_;
  std::string xmlFolder_;
  std::string localIp_;

  mutable std::mutex helloMutex_;
  std::string helloFrom_, helloContact_, helloBody_;

  std::mutex recordListCallMutex_;  // one record list request waits at a time
  mutable std::mutex recordMutex_;
  std::string recordListText_;

  std::mutex callbackMutex_;
  IotCallback callback_ = nullptr;
  void* callbackUser_ = nullptr;

  std::mutex randomMutex_;
  plat::RandomGenerator random_;

  std::mutex sendMutex_;
  bool sendsEnded_ = false;  // under sendMutex_: set once "quit" has gone
  std::atomic<bool> shutDown_{false};
  CmscpStreamBuffer stream_;  // event thread only

  plat::ManualResetEvent freeEvent_;
  plat::ManualResetEvent getRecordEvent_;
  plat::ManualResetEvent ringBackEvent_;
  plat::ManualResetEvent inviteBackEvent_;

  plat::PeriodicTimer keepAlive_;
  plat::PeriodicTimer purgeTimer_;

  std::atomic<std::uintptr_t> notifyWindow_{0};
  std::atomic<std::uint32_t> notifyThreadId_{0};
  std::atomic<int> notifyUdpPort_{0};
  std::mutex udpMutex_;  // the notification socket and its destination
  int notifyUdpSocket_ = -1;
  int notifyUdpDestinationPort_ = 0;
  NotifyCopies copies_;

  CPendingCmdTable pending_;
  std::atomic<std::time_t (*)()> wallClock_{&WallClock};

  mutable std::mutex listMutex_;
  std::unique_ptr<NvsList> nvsList_;
  std::atomic<bool> pollPending_{false};  // a log-in asks for one poll pass once the list is complete
  std::atomic<bool> pollRunning_{false};

  std::mutex threadsMutex_;  // the worker threads and whether new ones may start
  bool stopping_ = false;
  std::thread connectThread_;
  std::thread reconnectThread_;
  std::thread pollThread_;
};
