#pragma once
// The texts of a gateway's node list and of its camera data, as the server
// sends them (wire code page).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct NodeLine {
  int address = 0;
  std::string name;  // as received
  int state = 0;     // 0 offline, 1 online, 2 powerdown, 3 exception
  int type = 0;
  std::uint16_t netId = 0;
};

// "address:name:state:type:netid"; missing fields give empty text and 0; an
// unknown state word keeps `previousState`.
NodeLine ParseNodeLine(std::string_view line, int previousState);
// The lines separated by line feeds, at most `maxLines`.
std::vector<NodeLine> ParseNodeLines(std::string_view text, std::size_t maxLines);
// The 8-bit sum that recognises an unchanged list: over the lines from
// `first` on, the name bytes, the address (4 bytes), the net id (2) and the type (4).
std::uint8_t NodeLinesCheck(const std::vector<NodeLine>& lines, std::size_t first);

struct CameraData {
  std::string userName;  // at most 31 bytes
  std::string mobile;    // 16
  std::string address;   // 255
  std::string ip;        // 15
  std::string fx, fy;    // 31 each
  int canRead = 0;
};

// "key=value;" items; values of a key that occurs again are appended, each
// text within its limit.
CameraData ParseCameraData(std::string_view text);
