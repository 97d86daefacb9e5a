// Loading a document from a file and saving it: byte-order marks, declared
// encodings, the UTF-8 check and conversion to and from the process code
// page, each step recorded in the result log.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "library/xml/xml_document.h"
#include "library/xml/xml_encodings.h"
#include "platform/code_page.h"

namespace {

constexpr int kMarkFlags = CXmlDocument::kUtf16Le | CXmlDocument::kUtf8Bom | CXmlDocument::kUtf16Be;

struct ByteOrderMark {
  std::string_view bytes;
  const char* name;
  int flag;
};

constexpr ByteOrderMark kMarks[] = {
    {"\xEF\xBB\xBF", "UTF-8", CXmlDocument::kUtf8Bom},
    {"\xFF\xFE", "UTF-16LE", CXmlDocument::kUtf16Le},
    {"\xFE\xFF", "UTF-16BE", CXmlDocument::kUtf16Be},
};

std::atomic<unsigned> g_temporaryCounter{0};

// The system's message for an error code, cut at its first line break.
std::string ErrorText(int code) {
  std::string text = std::error_code(code, std::generic_category()).message();
  const std::size_t cut = text.find_first_of("\r\n");
  if (cut != std::string::npos) text.resize(cut);
  return text;
}

std::u16string UnitsFromLittleEndian(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return units;
}

std::string LittleEndianFromUnits(std::u16string_view units) {
  std::string bytes(units.size() * 2, '\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  return bytes;
}

void SwapUnits(std::u16string& units) {
  for (char16_t& u : units) u = static_cast<char16_t>((u >> 8) | (u << 8));
}

bool HasHighByte(std::string_view bytes) {
  for (const char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

}  // namespace

// One load or save: the open file, its size and the events of the
// operation. A save writes a temporary file in the target's folder and
// renames it over the target when everything was written, so that a failed
// or concurrent save never leaves a partial file; appending writes in place.
// The file is read and written with one call each where the system allows,
// without a buffer of the C library in between.
class XmlFileIo {
 public:
  explicit XmlFileIo(std::string* log) : log_(log) {}
  ~XmlFileIo() {
    if (fd_ >= 0) ::close(fd_);
    if (!temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
  }
  XmlFileIo(const XmlFileIo&) = delete;
  XmlFileIo& operator=(const XmlFileIo&) = delete;

  void Record(const char* key, const char* text, int flags, long long number = -1) {
    CXmlDocument::AddResultTo(*log_, key, text, flags, number);
  }
  void RecordError(int code) { Record("file_error", ErrorText(code).c_str(), 0x44, code); }

  bool OpenForReading(const char* path) {
    fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return Fail(errno);
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return Fail(errno);
    if (S_ISDIR(st.st_mode)) return Fail(EISDIR);
    if (S_ISREG(st.st_mode)) {
      size_ = static_cast<long long>(st.st_size);
    } else {
      const off_t size = ::lseek(fd_, 0, SEEK_END);
      if (size < 0 || ::lseek(fd_, 0, SEEK_SET) != 0) return Fail(errno);
      size_ = static_cast<long long>(size);
    }
    if (size_ > CXmlDocument::kMaxTextLength) return Fail(EFBIG);
    return true;
  }

  bool OpenForWriting(const char* path, bool append) {
    path_ = path;
    if (append) {
      fd_ = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
      if (fd_ < 0) return Fail(errno);
      struct stat st {};
      if (::fstat(fd_, &st) != 0) return Fail(errno);
      size_ = static_cast<long long>(st.st_size);
      return true;
    }
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      const std::string name = ".xml-" + std::to_string(::getpid()) + "-" +
                               std::to_string(g_temporaryCounter.fetch_add(1)) + ".tmp";
      temporaryPath_ = (folder / name).string();
      fd_ = ::open(temporaryPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
      const int code = errno;
      temporaryPath_.clear();
      return Fail(code);
    }
    struct stat target {};
    if (::stat(path, &target) == 0 && S_ISREG(target.st_mode)) ::fchmod(fd_, target.st_mode & 07777);
    size_ = 0;
    return true;
  }

  long long Size() const { return size_; }

  // The whole file in one read. The buffer has room beyond the file's
  // bytes, so that the first edits of a loaded text splice it in place
  // instead of moving it to a larger buffer.
  bool ReadAll(std::string* bytes) {
    const auto size = static_cast<std::size_t>(size_);
    bytes->reserve(size + size / 16 + 1024);
    bytes->resize(size);
    std::size_t done = 0;
    while (done < size) {
      const ssize_t got = ::read(fd_, bytes->data() + done, size - done);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        const int code = got < 0 && errno != 0 ? errno : EIO;
        bytes->clear();
        return Fail(code);
      }
      done += static_cast<std::size_t>(got);
    }
    return true;
  }

  // A short piece (a byte-order mark) waits to go out with the next one.
  bool Write(std::string_view bytes) {
    if (bytes.empty()) return true;
    if (bytes.size() <= kHeldBytes && pending_.size() + bytes.size() <= kHeldBytes) {
      pending_.append(bytes);
      return true;
    }
    return WriteOut(bytes);
  }

  // Closes the file; a save then puts the temporary file in place.
  bool Close(bool writing) {
    bool ok = true;
    if (fd_ >= 0) {
      if (writing && !pending_.empty()) ok = WriteOut({});
      if (writing && ok && !temporaryPath_.empty() && ::fsync(fd_) != 0) ok = Fail(errno);
      const int closed = ::close(fd_);
      fd_ = -1;
      if (closed != 0) {
        RecordError(errno);
        if (writing) ok = false;
      }
    }
    if (!temporaryPath_.empty()) {
      if (ok && std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) ok = Fail(errno);
      if (!ok) ::unlink(temporaryPath_.c_str());
      temporaryPath_.clear();
    }
    return ok;
  }

 private:
  static constexpr std::size_t kHeldBytes = 16;

  // The pending bytes and then `bytes`, all of them.
  bool WriteOut(std::string_view bytes) {
    std::string_view first = pending_;
    std::string_view second = bytes;
    while (!first.empty() || !second.empty()) {
      iovec parts[2] = {{const_cast<char*>(first.data()), first.size()},
                        {const_cast<char*>(second.data()), second.size()}};
      const ssize_t wrote = ::writev(fd_, parts, 2);
      if (wrote < 0 && errno == EINTR) continue;
      if (wrote <= 0) return Fail(wrote < 0 && errno != 0 ? errno : EIO);
      auto done = static_cast<std::size_t>(wrote);
      const std::size_t fromFirst = done < first.size() ? done : first.size();
      first.remove_prefix(fromFirst);
      second.remove_prefix(done - fromFirst);
    }
    pending_.clear();
    return true;
  }

  bool Fail(int code) {
    RecordError(code);
    return false;
  }

  std::string* log_;
  int fd_ = -1;
  long long size_ = 0;
  std::string path_;
  std::string temporaryPath_;
  std::string pending_;
};

bool CXmlDocument::LoadFileText(const char* path, std::string* text, std::string* log, int* flags) {
  std::string localLog;
  std::string& events = log ? *log : localLog;
  int localFlags = 0;
  int& fl = flags ? *flags : localFlags;
  if (text == nullptr) return false;
  text->clear();
  XmlFileIo io(&events);
  if (path == nullptr) {
    io.RecordError(EINVAL);
    return false;
  }
  if (!io.OpenForReading(path)) return false;
  fl &= ~(kMarkFlags | kStreamRead | kStreamWrite | kAppend);

  std::string bytes;
  if (!io.ReadAll(&bytes)) return false;
  const std::string_view head = std::string_view(bytes).substr(0, 1024);

  std::string encoding;
  std::size_t markLength = 0;
  int width = 1;
  for (const ByteOrderMark& mark : kMarks) {
    if (head.substr(0, mark.bytes.size()) != mark.bytes) continue;
    fl |= mark.flag;
    encoding = mark.name;
    markLength = mark.bytes.size();
    width = markLength == 2 ? 2 : 1;
    io.Record("bom", nullptr, 0);
    break;
  }
  // Without a mark or a declaration a text starting with '<' is taken for
  // UTF-8, but only after the UTF-8 check agrees.
  bool assumedUtf8 = false;
  if (markLength == 0) {
    encoding = FindDeclaredEncoding(head);
    if (encoding.empty() && !head.empty() && head[0] == '<') {
      encoding = "UTF-8";
      assumedUtf8 = true;
    }
  }

  const std::string_view body = std::string_view(bytes).substr(markLength);
  const int processCodePage = plat::ProcessCodePage();
  auto convert = [&](int fromCodePage, std::string_view data) {
    TextConverter converter(0, fromCodePage);
    std::string out;
    if (!converter.Convert(data, &out)) return false;
    *text = std::move(out);
    io.Record("converted_to", "", 0x18, static_cast<long long>(text->size()));
    if (converter.Lost()) io.Record("conversion_loss", nullptr, 0);
    return true;
  };

  if (body.empty()) {
    io.Record("read", encoding.c_str(), 0x18, 0);
  } else if (width == 2) {
    if (body.size() % 2 != 0) io.Record("truncation_error", encoding.c_str(), 0x8);
    std::u16string units = UnitsFromLittleEndian(body);
    io.Record("read", encoding.c_str(), 0x18, static_cast<long long>(units.size()));
    const std::size_t before = units.size();
    std::erase(units, u'\0');
    if (units.size() != before) io.Record("nulls_removed", nullptr, 0x1, static_cast<long long>(before - units.size()));
    if (fl & kUtf16Be) {
      SwapUnits(units);
      io.Record("endian_swap", nullptr, 0);
    }
    if (!convert(plat::kCodePageUtf16Le, LittleEndianFromUnits(units))) *text = Utf16ToUtf8(units);
  } else {
    // The text is the buffer itself without its mark (its room kept).
    std::string data = std::move(bytes);
    data.erase(0, markLength);
    io.Record("read", encoding.c_str(), 0x18, static_cast<long long>(data.size()));
    const std::size_t before = data.size();
    if (data.find('\0') != std::string::npos) std::erase(data, '\0');
    if (data.size() != before) io.Record("nulls_removed", nullptr, 0x1, static_cast<long long>(before - data.size()));
    const int codePage = CodePageOfEncoding(encoding.c_str());
    if (encoding.empty()) {
      if (IsValidUtf8(data)) {
        io.Record("read", "UTF-8", 0x28);
        if (!(HasHighByte(data) && processCodePage != plat::kCodePageUtf8 && convert(plat::kCodePageUtf8, data)))
          *text = std::move(data);
      } else {
        *text = std::move(data);
      }
      io.Record("utf8_detection", nullptr, 0);
    } else if (assumedUtf8 && !IsValidUtf8(data)) {
      io.Record("read", "", 0x28);
      io.Record("utf8_detection", nullptr, 0);
      *text = std::move(data);
    } else if (codePage > 0 && codePage != processCodePage && convert(codePage, data)) {
      // converted
    } else {
      *text = std::move(data);
    }
  }
  if (text->size() > static_cast<std::size_t>(kMaxTextLength)) {
    text->clear();
    io.RecordError(EFBIG);
    return false;
  }
  io.Close(false);
  return true;
}

bool CXmlDocument::SaveFileText(const char* path, const std::string& text, std::string* log, int* flags) {
  std::string localLog;
  std::string& events = log ? *log : localLog;
  int localFlags = 0;
  int& fl = flags ? *flags : localFlags;
  XmlFileIo io(&events);
  if (path == nullptr) {
    io.RecordError(EINVAL);
    return false;
  }
  if (!io.OpenForWriting(path, (fl & kAppend) != 0)) return false;
  const bool fileEmpty = io.Size() == 0;
  fl &= ~kAppend;

  const ByteOrderMark* mark = nullptr;
  for (const ByteOrderMark& m : kMarks) {
    if (fl & m.flag) {
      mark = &m;
      break;
    }
  }
  std::string encoding;
  if (mark != nullptr) {
    encoding = mark->name;
    if (fileEmpty) {
      if (!io.Write(mark->bytes)) return false;
      io.Record("bom", nullptr, 0);
    }
  } else {
    encoding = FindDeclaredEncoding(text);
    if (encoding.empty()) encoding = "UTF-8";
  }

  if (text.empty()) {
    io.Record("write", encoding.c_str(), 0x18, 0);
  } else if (mark != nullptr && mark->bytes.size() == 2) {
    std::u16string units;
    if (!plat::MultiByteToWide(0, text, units)) units = Utf8ToUtf16(text);
    io.Record("converted_from", "", 0x18, static_cast<long long>(text.size()));
    if (mark->flag == kUtf16Be) {
      SwapUnits(units);
      io.Record("endian_swap", nullptr, 0);
    }
    if (!io.Write(LittleEndianFromUnits(units))) return false;
    io.Record("write", encoding.c_str(), 0x18, static_cast<long long>(units.size()));
  } else {
    const int codePage = CodePageOfEncoding(encoding.c_str());
    std::string converted;
    bool useConverted = false;
    if (codePage > 0 && codePage != plat::ProcessCodePage()) {
      TextConverter converter(codePage, 0);
      if (converter.Convert(text, &converted)) {
        useConverted = true;
        io.Record("converted_from", "", 0x18, static_cast<long long>(text.size()));
        if (converter.Lost()) io.Record("conversion_loss", nullptr, 0);
      }
    }
    const std::string& bytes = useConverted ? converted : text;
    if (!io.Write(bytes)) return false;
    io.Record("write", encoding.c_str(), 0x18, static_cast<long long>(bytes.size()));
  }
  return io.Close(true);
}

bool CXmlDocument::LoadFile(const char* path) {
  if (BoundToStream()) return false;
  log_.clear();
  std::string loaded;
  int flags = flags_;
  const bool read = LoadFileText(path, &loaded, &log_, &flags);
  flags_ = flags;
  text_ = read ? std::move(loaded) : std::string();
  const bool wellFormed = Parse();
  return read && wellFormed;
}

bool CXmlDocument::SaveFile(const char* path) {
  if (BoundToStream()) return false;
  log_.clear();
  int flags = flags_;
  const bool saved = SaveFileText(path, text_, &log_, &flags);
  flags_ = flags;
  return saved;
}
