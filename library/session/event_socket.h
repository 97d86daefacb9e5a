#pragma once
// CEventSocket: one IPv4 socket and, once it is connected or bound, one event
// thread of its own that waits on the socket and calls the virtual handlers
// (connect, accept, read, write, close) on that thread, one handler per wake-up.
//
// Derived classes whose handlers touch their own members call StopEvents()
// first in their destructors, so that no handler runs while they are torn down.
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The error number reported for an address that does not convert or resolve.
constexpr int kWsaEInval = 10022;

class CEventSocket {
 public:
  static constexpr int kInvalidSocket = -1;
  static constexpr std::uint32_t kEventWaitMs = 3000;
  static constexpr std::uint32_t kDefaultConnectTimeoutMs = 5000;

  CEventSocket();
  virtual ~CEventSocket();
  CEventSocket(const CEventSocket&) = delete;
  CEventSocket& operator=(const CEventSocket&) = delete;

  // Accepts a connection into `peer` and starts the peer's events.
  virtual bool Accept(CEventSocket& peer, sockaddr* address, socklen_t* addressLength);
  // Stops the event thread (it leaves at once) and closes the socket. Never
  // waits, so it may be called from a handler or a timer. While the event
  // thread still runs, the descriptor is shut down at once and closed by the
  // thread as it leaves, so its number cannot be reused under that thread.
  virtual int Close();
  virtual int Receive(char* buffer, int length, int flags = 0);
  // Every send is made with MSG_NOSIGNAL.
  virtual int Send(const char* buffer, int length, int flags = 0);
  virtual void OnAccept(int errorCode);
  virtual void OnConnect(int errorCode);
  virtual void OnReceive(int errorCode);
  virtual void OnSend(int errorCode);
  virtual void OnClose(int errorCode);
  // Connects within the connect time-out; on success starts the events.
  virtual bool Connect(const sockaddr* address, socklen_t length);
  virtual int ReceiveFrom(char* buffer, int length, sockaddr* from, socklen_t* fromLength, int flags = 0);
  virtual int SendTo(const char* buffer, int length, const sockaddr* to, socklen_t toLength, int flags = 0);

  // Creates the socket; with a port, binds it (stream sockets reuse the
  // address) to `address` (nullptr = any) and starts the events. 1 or 0.
  int Create(unsigned port = 0, int type = SOCK_STREAM, const char* address = nullptr);
  bool CreateSocket(int type, int protocol = 0);
  bool Bind(unsigned port, const char* address);
  // `host` as a dotted address or a name; a host that does not resolve fails with kWsaEInval.
  bool ConnectHost(const char* host, unsigned port);
  // nullptr host = 255.255.255.255; -1 when the host does not resolve.
  int SendToHost(const char* buffer, int length, unsigned port, const char* host, int flags = 0);
  int ReceiveFromHost(char* buffer, int length, std::string& address, unsigned& port, int flags = 0);
  bool GetPeerName(std::string& address, unsigned& port) const;
  bool GetSockName(std::string& address, unsigned& port) const;
  void Attach(int socket);
  int Detach();
  bool ShutDown(int how);
  bool Listen(int backlog);
  bool SetBroadcast();
  bool SetNonBlocking();
  // Makes the socket non-blocking and starts a new event thread for it; a
  // thread still running for this object is stopped and joined first.
  bool StartEvents();
  // Stops and joins the event thread; the socket stays open.
  void StopEvents();
  // Keep-alive probes on a stream socket: 1 s idle, 5 s between probes.
  static void SetKeepAlive(int socket);
  static int SocketCleanup();

  // The next time the socket is writable, OnSend is called once.
  void WatchWritable();
  void SetConnectTimeout(std::uint32_t milliseconds) { connectTimeoutMs_ = milliseconds; }
  int GetSocket() const { return socket_.load(); }
  bool IsEventThreadRunning() const;

  // The calling thread's last socket error (errno values, or kWsaEInval).
  static int LastError();
  // Number of event threads alive in this process.
  static int LiveEventThreads();
  // A line-writer that each event thread tells when it leaves its loop.
  static void SetThreadTrace(void (*trace)(const char* text));

 private:
  struct Control;

  static void EventLoop(CEventSocket* self, std::shared_ptr<Control> control, int fd, bool datagram);
  void RetireOrJoin(std::thread& thread);

  std::atomic<int> socket_{kInvalidSocket};
  std::atomic<bool> listening_{false};
  std::atomic<std::uint32_t> connectTimeoutMs_{kDefaultConnectTimeoutMs};

  mutable std::mutex threadMutex_;
  std::thread thread_;
  std::shared_ptr<Control> control_;
  std::vector<std::thread> retired_;  // threads that asked to be replaced from inside themselves
};
