#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "library/session/cmscp_stream.h"

namespace {

std::string Block(char tag) {
  std::string block = "CMSCP/1.0 REQ\r\nCmd:m";
  block += tag;
  block += "\r\nContent-Length:0\r\n\r\n\r\n";
  block.resize(kScpBlockSize, '\0');
  return block;
}

// Feeds `pieces` one after another and returns the tags of the blocks taken.
std::string Feed(const std::vector<std::string>& pieces) {
  CmscpStreamBuffer stream;
  CmscpStreamBuffer::Block block;
  std::string tags;
  for (const auto& piece : pieces) {
    stream.Append(piece.data(), piece.size());
    while (stream.NextBlock(block)) {
      const std::string text(block.data(), block.size());
      tags += text.substr(text.find("Cmd:m") + 5, 1);
    }
  }
  return tags;
}

std::vector<std::string> Pieces(const std::string& bytes, std::size_t size) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < bytes.size(); i += size) out.push_back(bytes.substr(i, size));
  return out;
}

}  // namespace

TEST(CmscpStream, EveryWholeBlockIsTakenOnceAndInOrder) {
  const std::string a = Block('a'), b = Block('b'), c = Block('c'), d = Block('d'), e = Block('e');
  struct Case {
    const char* name;
    std::vector<std::string> pieces;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"one block in two pieces", {a.substr(0, 700), a.substr(700)}, "a"},
      {"one block byte by byte", Pieces(a, 1), "a"},
      {"five blocks in one write", {a + b + c + d + e}, "abcde"},
      {"blocks straddling reads", Pieces(a + b + c, 1000), "abc"},
      {"junk before a block", {"garbage\r\n\x01\x02" + a}, "a"},
      {"junk holding zero bytes", {std::string(50, '\0') + a + b}, "ab"},
      {"a block cut short, then a whole one", {a.substr(0, 500) + b}, "b"},
      {"a marker cut across two reads", {"xx" + a.substr(0, 4), a.substr(4)}, "a"},
      {"a block cut by a close", {a, b.substr(0, 600)}, "a"},
      {"nothing but junk", {std::string(5000, 'z')}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Feed(c.pieces), c.expected) << c.name;
}

TEST(CmscpStream, JunkWithoutMarkerIsNotKeptBeyondAPossibleMarkerStart) {
  CmscpStreamBuffer stream;
  const std::string junk(100000, 'q');
  stream.Append(junk.data(), junk.size());
  CmscpStreamBuffer::Block block;
  EXPECT_FALSE(stream.NextBlock(block));
  EXPECT_LT(stream.Buffered(), 9u);
}
