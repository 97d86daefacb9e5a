#pragma once
// Code-page conversion for loading and saving documents, and the table of
// encoding names.
#include <string>
#include <string_view>

// Code page 65005 stands for 32-bit code points (little-endian units).
constexpr int kCodePageCodePoints = 65005;

// The code page of an encoding name in the table (lower-cased A-Z), or -1.
int LookUpEncodingName(std::string_view lowerName);

// True for the code pages whose converters cannot report loss.
bool IsNoLossCodePage(int codePage);

// UTF-8 as the file reader accepts it: bytes below 0x80, lead bytes with
// their continuation bytes complete; stops at the first NUL byte.
bool IsValidUtf8(std::string_view bytes);

// One conversion between code pages (0 = the process code page); 1200 is
// UTF-16LE, 65005 code points.
class TextConverter {
 public:
  TextConverter(int targetCodePage, int sourceCodePage);
  // Converts `source`; false when either code page has no converter here.
  bool Convert(std::string_view source, std::string* target);
  // A character had no representation in the target.
  bool Lost() const { return lost_; }

 private:
  int target_;
  int source_;
  bool lost_ = false;
};
