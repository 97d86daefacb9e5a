#pragma once
// StandinServer: a platform server on a loopback address that speaks
// "CMSCP/1.0" in 1212-byte blocks. Tests drive it in-process: they choose how
// it answers "hello", "login" and "connect", inject faults into the blocks it
// writes, send any message at any time and read back a time-stamped log of
// every block it received.
//
// One thread runs everything: it accepts connections, reads and answers
// blocks and writes the queued bytes, all on non-blocking sockets, waking at
// least every 50 ms. The public methods may be called from any thread.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tools/cmscp_text.h"
#include "tools/gateway_pages.h"
#include "tools/standin_call.h"
#include "tools/standin_media.h"

namespace standin {

struct Account {
  std::string user;
  std::string password;
};

// How the server answers. Every answer goes to the connection the request
// came on.
struct Script {
  // "hello" is answered with a "hello" request carrying these texts.
  bool answerHello = true;
  std::string helloFrom = "platform@standin";
  std::string helloContact = "ver=1.0";
  std::string helloBody;

  // "login" is answered with "loginack" (an ACK 200) of Class `loginClass`,
  // `loginDelay` after the request. With accounts given, a log-in whose
  // CName and CallID match none of them gets Class 0.
  bool answerLogin = true;
  int loginClass = 1;
  std::chrono::milliseconds loginDelay{0};
  std::vector<Account> accounts;

  // After every "connect" the gateway list goes out as "ack" pages. With
  // accounts given, only to a "connect" whose credentials match one.
  bool sendGatewayList = false;
  std::vector<Gateway> gateways;
  std::size_t gatewaysPerPage = kListEntriesPerPage;

  // Answers to any other command word: the messages returned go to the
  // connection the request came on. Runs on the server's thread under its
  // lock, so it must not call the server.
  std::map<std::string, std::function<std::vector<OutgoingMessage>(const ParsedMessage& request)>> answers;
};

// One block as received (or the bytes left when the peer closed mid-block).
struct ReceivedMessage {
  std::size_t connection = 0;  // 1 for the first accepted connection, and so on
  std::chrono::steady_clock::time_point time;
  std::vector<std::uint8_t> raw;
  bool complete = false;  // raw holds a whole message: a 1212-byte block, or the bare text of "getconfig"/"putconfig"
  ParsedMessage parsed;
  std::string cmd;  // the Cmd header
};

class StandinServer {
 public:
  static constexpr std::uint16_t kDefaultPort = 4073;
  // Entries the log keeps; older ones are dropped (the counts behind
  // WaitFor keep counting).
  static constexpr std::size_t kLogCapacity = 10000;
  static constexpr std::size_t kMaxOpenConnections = 64;

  StandinServer();
  ~StandinServer();
  StandinServer(const StandinServer&) = delete;
  StandinServer& operator=(const StandinServer&) = delete;

  // Listens on `address`, which must be a numeric address in 127.0.0.0/8.
  // Port 0 picks a free port. False when the address is refused, the port
  // cannot be bound or the server is already running.
  bool Start(const std::string& address = "127.0.0.1", std::uint16_t port = kDefaultPort);
  // The port listened on (0 when not running).
  std::uint16_t Port() const;
  // Closes every connection and the listening socket and joins the thread.
  void Stop();

  // False (script unchanged) when the gateway list does not fit its pages.
  bool SetScript(const Script& script);
  Script GetScript() const;

  // Called on the server's thread, outside its lock, for every entry as it
  // is logged. Set it before Start.
  void SetObserver(std::function<void(const ReceivedMessage&)> observer);

  std::vector<ReceivedMessage> Received() const;
  // Waits until `count` whole blocks with that Cmd have been received in all.
  bool WaitFor(const std::string& cmd, std::size_t count, std::chrono::milliseconds timeout) const;

  std::size_t ConnectionsAccepted() const;
  std::size_t ConnectionsOpen() const;
  // Waits until at least `accepted` connections have been accepted in all.
  bool WaitForConnections(std::size_t accepted, std::chrono::milliseconds timeout) const;
  // Waits until exactly `open` connections are open (0: the peer has gone).
  bool WaitForOpenConnections(std::size_t open, std::chrono::milliseconds timeout) const;

  // Sends to the current connection, the newest one still open. False when
  // there is none or the message does not fit a block. Faults apply.
  bool Send(const OutgoingMessage& message);
  // Sends bytes as they are; faults do not apply.
  bool SendRaw(const std::string& bytes);
  // Closes the current connection at once; what is still queued for it is dropped.
  bool CloseConnection();

  // Faults for the blocks the server writes, used up in the order given, one
  // for each following block (a coalescing fault takes its `blocks` blocks).
  // The next block in pieces of these sizes, `gap` apart (pieces past the
  // block are cut; a rest goes as one more piece).
  void SplitNext(std::vector<std::size_t> pieces, std::chrono::milliseconds gap = std::chrono::milliseconds(5));
  // The next `blocks` blocks in one write, made once the last of them is queued.
  void CoalesceNext(std::size_t blocks);
  // The next block preceded by these bytes in the same write.
  void JunkBeforeNext(const std::string& junk);
  // Only the first `bytes` bytes of the next block, then the connection closes.
  void CloseMidNext(std::size_t bytes);
  void ClearFaults();

  // While false nothing is read; the sockets stay open.
  void SetReading(bool reading);
  // While false the blocks received are logged but not answered, neither by
  // the script nor by the call's answers; the sockets stay open.
  void SetAnswering(bool answering);

  // Piece sizes for SplitNext: one block in pieces of `size` bytes.
  static std::vector<std::size_t> EvenPieces(std::size_t size);

  // ---- audio call (standin_call.cpp)
  void SetCallScript(const CallScript& script);
  CallScript GetCallScript() const;
  // Starts the media listener on the server's address (Start first).
  bool StartMedia(std::uint16_t port = StandinMedia::kDefaultPort);
  StandinMedia& Media() { return media_; }

 private:
  struct Fault {
    enum class Kind { Split, Coalesce, Junk, CloseMid } kind;
    std::vector<std::size_t> pieces;
    std::chrono::milliseconds gap{0};
    std::size_t count = 0;
    std::string junk;
  };
  struct Outgoing {
    std::string bytes;
    std::vector<std::size_t> pieces;  // sizes adding up to bytes.size()
    std::size_t piece = 0;
    std::size_t sentInPiece = 0;
    std::size_t offset = 0;
    std::chrono::milliseconds gap{0};
    std::chrono::steady_clock::time_point due;
    bool closeAfter = false;
  };
  struct Connection {
    std::size_t number = 0;
    int fd = -1;
    Block input{};
    std::size_t filled = 0;
    std::deque<Outgoing> output;
    bool closing = false;
    bool waitingForWrite = false;
  };
  struct Coalescing {
    std::size_t remaining = 0;
    std::string bytes;
    std::chrono::steady_clock::time_point due;
    std::size_t connection = 0;
  };

  void Run();
  void AcceptPending();
  void ReadFrom(Connection& connection, std::vector<ReceivedMessage>& logged);
  // Logs and answers the first `size` bytes of the connection's input.
  void TakeMessage(Connection& connection, std::size_t size, std::vector<ReceivedMessage>& logged);
  void WriteTo(Connection& connection, std::chrono::steady_clock::time_point now);
  void CloseNow(Connection& connection, std::vector<ReceivedMessage>& logged);
  void Answer(Connection& connection, const ParsedMessage& request);
  void AnswerInvite(Connection& connection, const ParsedMessage& request,
                    std::chrono::steady_clock::time_point now);
  void QueueBlock(Connection& connection, const Block& block, std::chrono::steady_clock::time_point due);
  void Log(ReceivedMessage entry, std::vector<ReceivedMessage>& logged);
  bool KnownAccount(const ParsedMessage& request) const;
  Connection* Current();
  void Wake();

  std::mutex lifecycle_;  // serialises Start and Stop
  mutable std::mutex mutex_;  // everything below
  mutable std::condition_variable changed_;
  Script script_;
  std::vector<OutgoingMessage> listPages_;
  std::function<void(const ReceivedMessage&)> observer_;
  std::deque<ReceivedMessage> log_;
  std::map<std::string, std::size_t> counts_;
  std::deque<Fault> faults_;
  std::optional<Coalescing> coalescing_;
  std::vector<std::unique_ptr<Connection>> connections_;
  std::size_t accepted_ = 0;
  bool reading_ = true;
  bool answering_ = true;
  bool stop_ = false;
  bool running_ = false;
  std::uint16_t port_ = 0;
  int listenFd_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::thread thread_;
  // ---- audio call
  CallScript callScript_;
  std::string address_;
  StandinMedia media_;
};

}  // namespace standin
