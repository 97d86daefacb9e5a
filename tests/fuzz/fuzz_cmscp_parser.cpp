// The "CMSCP/1.0" parser on any bytes, alone and behind the stream buffer
// that cuts the connection's bytes into blocks; the record it fills must
// serialise into a block that parses again into the same request. The
// integer reader and the trimmer take the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "library/session/cmscp_stream.h"
#include "library/session/scp_record.h"

namespace {

// A value is cut at its field's width after it was trimmed, so it may end in
// a blank that the next parse trims.
std::string WithoutTrailingBlanks(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// A request comes back whole from its own block: every header the request
// form writes, and the body.
void ExpectSameRequest(const ScpMessage& a, const ScpMessage& b) {
  using Getter = const char* (*)(const ScpMessage*);
  const std::pair<const char*, Getter> texts[] = {
      {"CType", ScpMessageGetCType}, {"CName", ScpMessageGetCName},     {"Cmd", ScpMessageGetCmd},
      {"CallID", ScpMessageGetCallID}, {"To", ScpMessageGetTo},         {"From", ScpMessageGetFrom},
      {"Contact", ScpMessageGetContact}, {"Content-Type", ScpMessageGetContentType}};
  const char* differs = nullptr;
  for (const auto& [name, get] : texts)
    if (WithoutTrailingBlanks(get(&a)) != get(&b)) {
      differs = name;
      std::fprintf(stderr, "%s: \"%s\" became \"%s\"\n", name, get(&a), get(&b));
    }
  if (ScpMessageGetClass(&a) != ScpMessageGetClass(&b)) differs = "Class";
  if (ScpMessageGetCSeq(&a) != ScpMessageGetCSeq(&b)) differs = "CSeq";
  unsigned la = 0, lb = 0;
  const std::uint8_t* ba = ScpMessageGetBody(&a, &la);
  const std::uint8_t* bb = ScpMessageGetBody(&b, &lb);
  if (la != lb || (la > 0 && std::memcmp(ba, bb, la) != 0)) differs = "body";
  if (ScpMessageGetKind(&b, nullptr) != kScpKindReq) differs = "kind";
  if (differs != nullptr) {
    std::fprintf(stderr, "%s differs after a serialise and parse\n", differs);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  ScpRecord message = MakeScpRecord();
  ScpMessageParse(message.get(), text, size);
  unsigned length = 0;
  ScpMessageGetBody(message.get(), &length);
  char block[kScpBlockSize];
  if (ScpMessageSerializeBlock(message.get(), block) != 0) {
    ScpRecord again = MakeScpRecord();
    ScpMessageParse(again.get(), block, sizeof block);
    if (ScpMessageGetKind(message.get(), nullptr) == kScpKindReq) ExpectSameRequest(*message, *again);
  }

  ParseInteger(text, size);
  std::string copy(text, size);
  ParseInteger(copy.c_str());
  TrimSpaces(copy.data());

  CmscpStreamBuffer stream;
  stream.Append(text, size);
  CmscpStreamBuffer::Block next;
  for (std::size_t i = 0; i <= size / kScpBlockSize && stream.NextBlock(next); ++i) {
    ScpRecord record = MakeScpRecord();
    ScpMessageParse(record.get(), next.data(), next.size());
  }
  return 0;
}
