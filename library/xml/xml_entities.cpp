// Escaping texts for the document and unescaping character and entity
// references when reading them back.
#include <string>
#include <string_view>
#include <unordered_map>

#include "library/xml/xml_document.h"
#include "library/xml/xml_text_rules.h"
#include "platform/code_page.h"

namespace {

struct Entity {
  const char* name;
  int codePoint;
};

// The character entity references of HTML 4.01, and "apos".
constexpr Entity kEntities[] = {
    {"nbsp", 160}, {"iexcl", 161}, {"cent", 162}, {"pound", 163}, {"curren", 164}, {"yen", 165},
    {"brvbar", 166}, {"sect", 167}, {"uml", 168}, {"copy", 169}, {"ordf", 170}, {"laquo", 171},
    {"not", 172}, {"shy", 173}, {"reg", 174}, {"macr", 175}, {"deg", 176}, {"plusmn", 177},
    {"sup2", 178}, {"sup3", 179}, {"acute", 180}, {"micro", 181}, {"para", 182}, {"middot", 183},
    {"cedil", 184}, {"sup1", 185}, {"ordm", 186}, {"raquo", 187}, {"frac14", 188}, {"frac12", 189},
    {"frac34", 190}, {"iquest", 191}, {"Agrave", 192}, {"Aacute", 193}, {"Acirc", 194},
    {"Atilde", 195}, {"Auml", 196}, {"Aring", 197}, {"AElig", 198}, {"Ccedil", 199},
    {"Egrave", 200}, {"Eacute", 201}, {"Ecirc", 202}, {"Euml", 203}, {"Igrave", 204},
    {"Iacute", 205}, {"Icirc", 206}, {"Iuml", 207}, {"ETH", 208}, {"Ntilde", 209}, {"Ograve", 210},
    {"Oacute", 211}, {"Ocirc", 212}, {"Otilde", 213}, {"Ouml", 214}, {"times", 215},
    {"Oslash", 216}, {"Ugrave", 217}, {"Uacute", 218}, {"Ucirc", 219}, {"Uuml", 220},
    {"Yacute", 221}, {"THORN", 222}, {"szlig", 223}, {"agrave", 224}, {"aacute", 225},
    {"acirc", 226}, {"atilde", 227}, {"auml", 228}, {"aring", 229}, {"aelig", 230},
    {"ccedil", 231}, {"egrave", 232}, {"eacute", 233}, {"ecirc", 234}, {"euml", 235},
    {"igrave", 236}, {"iacute", 237}, {"icirc", 238}, {"iuml", 239}, {"eth", 240}, {"ntilde", 241},
    {"ograve", 242}, {"oacute", 243}, {"ocirc", 244}, {"otilde", 245}, {"ouml", 246},
    {"divide", 247}, {"oslash", 248}, {"ugrave", 249}, {"uacute", 250}, {"ucirc", 251},
    {"uuml", 252}, {"yacute", 253}, {"thorn", 254}, {"yuml", 255},
    {"fnof", 402}, {"Alpha", 913}, {"Beta", 914}, {"Gamma", 915}, {"Delta", 916},
    {"Epsilon", 917}, {"Zeta", 918}, {"Eta", 919}, {"Theta", 920}, {"Iota", 921}, {"Kappa", 922},
    {"Lambda", 923}, {"Mu", 924}, {"Nu", 925}, {"Xi", 926}, {"Omicron", 927}, {"Pi", 928},
    {"Rho", 929}, {"Sigma", 931}, {"Tau", 932}, {"Upsilon", 933}, {"Phi", 934}, {"Chi", 935},
    {"Psi", 936}, {"Omega", 937}, {"alpha", 945}, {"beta", 946}, {"gamma", 947}, {"delta", 948},
    {"epsilon", 949}, {"zeta", 950}, {"eta", 951}, {"theta", 952}, {"iota", 953}, {"kappa", 954},
    {"lambda", 955}, {"mu", 956}, {"nu", 957}, {"xi", 958}, {"omicron", 959}, {"pi", 960},
    {"rho", 961}, {"sigmaf", 962}, {"sigma", 963}, {"tau", 964}, {"upsilon", 965}, {"phi", 966},
    {"chi", 967}, {"psi", 968}, {"omega", 969}, {"thetasym", 977}, {"upsih", 978}, {"piv", 982},
    {"bull", 8226}, {"hellip", 8230}, {"prime", 8242}, {"Prime", 8243}, {"oline", 8254},
    {"frasl", 8260}, {"weierp", 8472}, {"image", 8465}, {"real", 8476}, {"trade", 8482},
    {"alefsym", 8501}, {"larr", 8592}, {"uarr", 8593}, {"rarr", 8594}, {"darr", 8595},
    {"harr", 8596}, {"crarr", 8629}, {"lArr", 8656}, {"uArr", 8657}, {"rArr", 8658},
    {"dArr", 8659}, {"hArr", 8660}, {"forall", 8704}, {"part", 8706}, {"exist", 8707},
    {"empty", 8709}, {"nabla", 8711}, {"isin", 8712}, {"notin", 8713}, {"ni", 8715},
    {"prod", 8719}, {"sum", 8721}, {"minus", 8722}, {"lowast", 8727}, {"radic", 8730},
    {"prop", 8733}, {"infin", 8734}, {"ang", 8736}, {"and", 8743}, {"or", 8744}, {"cap", 8745},
    {"cup", 8746}, {"int", 8747}, {"there4", 8756}, {"sim", 8764}, {"cong", 8773},
    {"asymp", 8776}, {"ne", 8800}, {"equiv", 8801}, {"le", 8804}, {"ge", 8805}, {"sub", 8834},
    {"sup", 8835}, {"nsub", 8836}, {"sube", 8838}, {"supe", 8839}, {"oplus", 8853},
    {"otimes", 8855}, {"perp", 8869}, {"sdot", 8901}, {"lceil", 8968}, {"rceil", 8969},
    {"lfloor", 8970}, {"rfloor", 8971}, {"lang", 9001}, {"rang", 9002}, {"loz", 9674},
    {"spades", 9824}, {"clubs", 9827}, {"hearts", 9829}, {"diams", 9830},
    {"quot", 34}, {"amp", 38}, {"lt", 60}, {"gt", 62}, {"apos", 39}, {"OElig", 338},
    {"oelig", 339}, {"Scaron", 352}, {"scaron", 353}, {"Yuml", 376}, {"circ", 710},
    {"tilde", 732}, {"ensp", 8194}, {"emsp", 8195}, {"thinsp", 8201}, {"zwnj", 8204},
    {"zwj", 8205}, {"lrm", 8206}, {"rlm", 8207}, {"ndash", 8211}, {"mdash", 8212},
    {"lsquo", 8216}, {"rsquo", 8217}, {"sbquo", 8218}, {"ldquo", 8220}, {"rdquo", 8221},
    {"bdquo", 8222}, {"dagger", 8224}, {"Dagger", 8225}, {"permil", 8240}, {"lsaquo", 8249},
    {"rsaquo", 8250}, {"euro", 8364},
};

// Exact lookup: names that differ only by case are different characters.
int LookUpEntity(std::string_view name) {
  static const std::unordered_map<std::string_view, int> table = [] {
    std::unordered_map<std::string_view, int> t;
    for (const Entity& e : kEntities) t.emplace(e.name, e.codePoint);
    return t;
  }();
  const auto it = table.find(name);
  return it == table.end() ? 0 : it->second;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsReferenceNameStart(char c) {
  return c == '#' || c == ':' || c == '_' || IsLetter(c) || static_cast<unsigned char>(c) >= 0x80;
}

bool IsReferenceNameChar(char c) { return IsReferenceNameStart(c) || c == '-' || c == '.' || IsDigit(c); }

// Length of a well-formed reference (`&name;` or `&#...;`) at `p`, or 0.
std::size_t ReferenceLength(std::string_view text, std::size_t p) {
  if (p + 1 >= text.size() || !IsReferenceNameStart(text[p + 1])) return 0;
  for (std::size_t q = p + 2; q < text.size(); ++q) {
    if (text[q] == ';') return q - p + 1;
    if (!IsReferenceNameChar(text[q])) return 0;
  }
  return 0;
}

// The number of `&#...;` / `&#x...;`, or 0 when it is not one.
long CharacterNumber(std::string_view body) {
  if (body.size() < 2 || body[0] != '#') return 0;
  const bool hex = body[1] == 'x' || body[1] == 'X';
  const std::size_t from = hex ? 2 : 1;
  if (from >= body.size()) return 0;
  long value = 0;
  for (std::size_t i = from; i < body.size(); ++i) {
    const char c = body[i];
    int digit;
    if (IsDigit(c)) digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return 0;
    value = value * (hex ? 16 : 10) + digit;
    if (value > 0x10FFFF) return 0;
  }
  return value;
}

// The character in the process code page; false when it has no single
// representation there.
bool AppendCodePoint(long codePoint, std::string& out) {
  if (codePoint <= 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return false;
  if (plat::ProcessCodePage() == plat::kCodePageUtf8) {
    char bytes[4];
    const int n = CXmlDocument::EncodeUtf8Char(static_cast<int>(codePoint), bytes);
    out.append(bytes, static_cast<std::size_t>(n));
    return n > 0;
  }
  char16_t units[2];
  const int n = CXmlDocument::EncodeUtf16Char(static_cast<int>(codePoint), units);
  std::string converted;
  bool lost = false;
  if (n == 0 || !plat::WideToMultiByte(0, std::u16string_view(units, static_cast<std::size_t>(n)), converted, &lost) ||
      lost)
    return false;
  out += converted;
  return true;
}

void TrimWhiteSpace(std::string& text, bool collapse) {
  std::string out;
  out.reserve(text.size());
  bool pending = false;
  for (const char c : text) {
    if (xmlrules::IsWhiteSpace(c)) {
      pending = true;
      if (!collapse && !out.empty()) out += c;
      continue;
    }
    if (pending && collapse && !out.empty()) out += ' ';
    pending = false;
    out += c;
  }
  if (!collapse) {
    while (!out.empty() && xmlrules::IsWhiteSpace(out.back())) out.pop_back();
  }
  text.swap(out);
}

}  // namespace

std::string CXmlDocument::EncodeXmlText(const char* text, int flags) {
  std::string out;
  if (text == nullptr) return out;
  const std::string_view in(text);
  const bool attribute = (flags & kEncodeAttribute) != 0;
  out.reserve(in.size() + in.size() / 8);
  const int end = static_cast<int>(in.size() < static_cast<std::size_t>(kMaxTextLength) ? in.size() : kMaxTextLength);
  for (int p = 0; p < end;) {
    const char c = in[p];
    switch (c) {
      case '&':
        if (flags & kWriteKeepReferences) {
          if (const std::size_t n = ReferenceLength(in, static_cast<std::size_t>(p))) {
            out.append(in.substr(static_cast<std::size_t>(p), n));
            p += static_cast<int>(n);
            continue;
          }
        }
        out += "&amp;";
        break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"':
        if (attribute) out += "&quot;";
        else out += c;
        break;
      case '\'':
        if (attribute) out += "&apos;";
        else out += c;
        break;
      default: {
        const int step = xmlrules::CharStep(in, p, end);
        out.append(in.substr(static_cast<std::size_t>(p), static_cast<std::size_t>(step)));
        p += step;
        continue;
      }
    }
    ++p;
  }
  return out;
}

std::string CXmlDocument::DecodeXmlText(const char* text, int length, int flags) {
  std::string out;
  if (text == nullptr || length <= 0) return out;
  const std::string_view in(text, static_cast<std::size_t>(length));
  out.reserve(in.size());
  for (std::size_t p = 0; p < in.size();) {
    if (in[p] != '&') {
      const int step = xmlrules::CharStep(in, static_cast<int>(p), length);
      out.append(in.substr(p, static_cast<std::size_t>(step)));
      p += static_cast<std::size_t>(step);
      continue;
    }
    // Up to nine characters before the ';'.
    std::size_t semicolon = std::string_view::npos;
    for (std::size_t q = p + 1; q < in.size() && q <= p + 10; ++q) {
      if (in[q] == ';') {
        semicolon = q;
        break;
      }
    }
    bool decoded = false;
    if (semicolon != std::string_view::npos && semicolon > p + 1) {
      const std::string_view body = in.substr(p + 1, semicolon - p - 1);
      const long codePoint = body[0] == '#' ? CharacterNumber(body) : LookUpEntity(body);
      decoded = codePoint != 0 && AppendCodePoint(codePoint, out);
    }
    if (decoded) {
      p = semicolon + 1;
    } else {
      out += '&';
      ++p;
    }
  }
  if (flags & (kTrimWhiteSpace | kCollapseWhiteSpace)) TrimWhiteSpace(out, (flags & kCollapseWhiteSpace) != 0);
  return out;
}
