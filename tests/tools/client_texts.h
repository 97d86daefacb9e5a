#pragma once
// Request texts written the way the client library writes them.
#include <string>

namespace standin_test {

inline const std::string kHelloText =
    "CMSCP/1.0 REQ\r\nCType:iot\r\nCName:\r\nClass:0\r\nCmd:hello\r\nCallID:\r\nCSeq:0\r\nFrom:\r\n"
    "Contact:ver=1.0\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n";

inline std::string LoginText(const std::string& cname, const std::string& callId, int cseq = 1234) {
  return "CMSCP/1.0 REQ\r\nCType:iot\r\nCName:" + cname + "\r\nClass:7\r\nCmd:login\r\nCallID:" + callId +
         "\r\nCSeq:" + std::to_string(cseq) +
         "\r\nFrom:\r\nContact:127.0.0.1\r\nContent-Type:zip\r\nContent-Length:5\r\nqmvht\r\n\r\n";
}

inline std::string ConnectText(const std::string& cname, const std::string& callId, int cseq = 99) {
  return "CMSCP/1.0 REQ\r\nCType:end\r\nCName:" + cname + "\r\nClass:7\r\nCmd:connect\r\nCallID:" + callId +
         "\r\nCSeq:" + std::to_string(cseq) +
         "\r\nFrom:user@host\r\nContact:127.0.0.1\r\nContent-Type:zip\r\nContent-Length:5\r\nqmvht\r\n\r\n";
}

// "admin" and "guest" as they travel.
inline const std::string kAdmin = "YWRtaW4!";
inline const std::string kGuest = "Z3Vlc3Q!";

}  // namespace standin_test
