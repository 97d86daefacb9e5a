#include "platform/code_page.h"

#include <iconv.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace plat {
namespace {

std::atomic<int> g_processCodePageOverride{0};

struct CodePageName {
  int codePage;
  const char* iconvName;
};

// Windows code pages and the glibc converter that matches each.
constexpr std::array<CodePageName, 56> kCodePageNames{{
    {437, "CP437"},           {708, "ISO-8859-6"},   {737, "CP737"},          {775, "CP775"},
    {850, "CP850"},           {852, "CP852"},        {855, "CP855"},          {857, "CP857"},
    {858, "CP858"},           {860, "CP860"},        {861, "CP861"},          {862, "CP862"},
    {863, "CP863"},           {864, "CP864"},        {865, "CP865"},          {866, "CP866"},
    {869, "CP869"},           {874, "CP874"},        {932, "CP932"},          {936, "CP936"},
    {949, "CP949"},           {950, "BIG5"},         {1200, "UTF-16LE"},      {1201, "UTF-16BE"},
    {1250, "CP1250"},         {1251, "CP1251"},      {1252, "CP1252"},        {1253, "CP1253"},
    {1254, "CP1254"},         {1255, "CP1255"},      {1256, "CP1256"},        {1257, "CP1257"},
    {1258, "CP1258"},         {1361, "JOHAB"},       {10000, "MACINTOSH"},    {12000, "UTF-32LE"},
    {12001, "UTF-32BE"},      {20127, "ASCII"},      {20866, "KOI8-R"},       {20932, "EUC-JP"},
    {21866, "KOI8-U"},        {28591, "ISO-8859-1"}, {28592, "ISO-8859-2"},   {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},    {28595, "ISO-8859-5"}, {28596, "ISO-8859-6"},   {28597, "ISO-8859-7"},
    {28598, "ISO-8859-8"},    {28599, "ISO-8859-9"}, {28603, "ISO-8859-13"},  {28605, "ISO-8859-15"},
    {50220, "ISO-2022-JP"},   {51932, "EUC-JP"},     {54936, "GB18030"},      {65001, "UTF-8"},
}};

int Resolve(int codePage) { return codePage == 0 ? ProcessCodePage() : codePage; }

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Converts as much as possible; returns the number of input bytes consumed
// and leaves errno as iconv left it when stopping early.
std::size_t Step(iconv_t cd, const char* in, std::size_t inLength, std::string& out) {
  std::array<char, 256> chunk{};
  char* src = const_cast<char*>(in);
  std::size_t left = inLength;
  for (;;) {
    char* dst = chunk.data();
    std::size_t room = chunk.size();
    const std::size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(chunk.data(), chunk.size() - room);
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno != E2BIG) break;
  }
  return inLength - left;
}

}  // namespace

int ProcessCodePage() {
  const int cp = g_processCodePageOverride.load();
  return cp == 0 ? kCodePageUtf8 : cp;
}

void SetProcessCodePageForTesting(int codePage) { g_processCodePageOverride.store(codePage); }

const char* IconvNameOfCodePage(int codePage) {
  const int cp = Resolve(codePage);
  for (const auto& entry : kCodePageNames)
    if (entry.codePage == cp) return entry.iconvName;
  return nullptr;
}

bool IsCodePageAvailable(int codePage) {
  const char* name = IconvNameOfCodePage(codePage);
  if (!name) return false;
  Iconv cd("UTF-16LE", name);
  return cd.ok();
}

bool MultiByteToWide(int codePage, std::string_view bytes, std::u16string& out, bool* invalid) {
  out.clear();
  if (invalid) *invalid = false;
  const char* name = IconvNameOfCodePage(codePage);
  if (!name) return false;
  Iconv cd("UTF-16LE", name);
  if (!cd.ok()) return false;
  std::string raw;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    pos += Step(cd.get(), bytes.data() + pos, bytes.size() - pos, raw);
    if (pos >= bytes.size()) break;
    // An invalid or truncated sequence: one replacement character, skip a byte.
    raw.append("\xFD\xFF", 2);
    if (invalid) *invalid = true;
    ++pos;
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(raw.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                   (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
  return true;
}

bool WideToMultiByte(int codePage, std::u16string_view text, std::string& out, bool* lost) {
  out.clear();
  if (lost) *lost = false;
  const char* name = IconvNameOfCodePage(codePage);
  if (!name) return false;
  Iconv cd(name, "UTF-16LE");
  if (!cd.ok()) return false;
  std::string raw(text.size() * 2, '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    raw[2 * i] = static_cast<char>(text[i] & 0xFF);
    raw[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  std::size_t pos = 0;
  while (pos < raw.size()) {
    pos += Step(cd.get(), raw.data() + pos, raw.size() - pos, out);
    if (pos >= raw.size()) break;
    // Not representable (or an unpaired surrogate): the default character,
    // skipping the whole surrogate pair when one stands here.
    out.push_back('?');
    if (lost) *lost = true;
    const char16_t unit = text[pos / 2];
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && pos / 2 + 1 < text.size() &&
                      text[pos / 2 + 1] >= 0xDC00 && text[pos / 2 + 1] <= 0xDFFF;
    pos += pair ? 4 : 2;
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  }
  // Flush any shift state (stateful encodings such as ISO-2022-JP).
  std::array<char, 16> tail{};
  char* dst = tail.data();
  std::size_t room = tail.size();
  if (iconv(cd.get(), nullptr, nullptr, &dst, &room) != static_cast<std::size_t>(-1))
    out.append(tail.data(), tail.size() - room);
  return true;
}

bool ConvertCodePage(int from, int to, std::string_view bytes, std::string& out, bool* lost) {
  out.clear();
  if (lost) *lost = false;
  std::u16string wide;
  bool invalid = false;
  if (!MultiByteToWide(from, bytes, wide, &invalid)) return false;
  bool unrepresentable = false;
  if (!WideToMultiByte(to, wide, out, &unrepresentable)) return false;
  if (lost) *lost = invalid || unrepresentable;
  return true;
}

std::size_t CharLength(int codePage, const char* p, const char* end) {
  if (p == nullptr || end == nullptr || p >= end) return 0;
  const auto lead = static_cast<unsigned char>(*p);
  const std::size_t room = static_cast<std::size_t>(end - p);
  std::size_t length = 1;
  switch (Resolve(codePage)) {
    case kCodePageUtf8:
      if (lead >= 0xF0 && lead <= 0xF4) length = 4;
      else if (lead >= 0xE0) length = lead <= 0xEF ? 3 : 1;
      else if (lead >= 0xC2) length = 2;
      // A sequence whose continuation bytes are missing steps one byte.
      for (std::size_t i = 1; i < length; ++i)
        if (i >= room || (static_cast<unsigned char>(p[i]) & 0xC0) != 0x80) return 1;
      return length;
    case 932:  // double-byte code pages: a lead byte and any trail byte
      if ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) length = 2;
      break;
    case kCodePageGbk:
    case 949:
    case 950:
    case 54936:
      // A lead byte takes the next byte only when that is a trail byte.
      if (lead >= 0x81 && lead <= 0xFE && room >= 2) {
        const auto trail = static_cast<unsigned char>(p[1]);
        if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) length = 2;
      }
      break;
    default:
      break;
  }
  return length <= room ? length : 1;
}

}  // namespace plat
