// The actions of reply rules: values from the message's elements, rows and
// lines, icons, positions, captions, log lines and switches on words.
#include <array>
#include <span>
#include <utility>

#include "demo/pages/page_kit.h"
#include "demo/shell/ascii_case.h"
#include "demo/shell/cm_parser.h"
#include "demo/shell/measurement_rows.h"
#include "demo/shell/text_format.h"

namespace {

// Most items a page reads from an array element.
constexpr std::size_t kArrayRoom = 16;

std::string ElementWord(const std::string& text, const std::string& element) {
  return CCMParser::GetDataElementValueString(text, element).value_or(std::string());
}

void RunAll(const ReplyActions& actions, KitPage& page, const std::string& text) {
  for (const ReplyAction& action : actions) action(page, text);
}

// The array element's items as doubles, at most `room` of them, read with
// the reader of `kind` (integer, unsigned or float items).
template <typename T, typename Reader>
std::vector<double> ArrayItems(const std::string& text, const std::string& element, std::size_t room,
                               Reader reader) {
  std::vector<T> items(room);
  const int count = reader(text, element, std::span<T>(items));
  items.resize(static_cast<std::size_t>(std::max(count, 0)));
  return std::vector<double>(items.begin(), items.end());
}

}  // namespace

ReplyRule On(std::string name, ReplyActions actions) {
  return ReplyRule{{std::move(name)}, std::move(actions)};
}

ReplyRule On(std::vector<std::string> names, ReplyActions actions) {
  return ReplyRule{std::move(names), std::move(actions)};
}

ReplyRule On(std::initializer_list<const char*> names, ReplyActions actions) {
  return ReplyRule{std::vector<std::string>(names.begin(), names.end()), std::move(actions)};
}

ReplyRule OnAnyName(ReplyActions actions) { return ReplyRule{{}, std::move(actions)}; }

ReplyAction Show() {
  return [](KitPage& page, const std::string&) { page.ShowAllValues(); };
}

ReplyAction SetValue(int id, std::string element) {
  return [id, element = std::move(element)](KitPage& page, const std::string& text) {
    std::visit(
        [&](auto& value) {
          using T = std::decay_t<decltype(value)>;
          if constexpr (std::is_same_v<T, int>) {
            value = CCMParser::GetDataElementValueInt(text, element);
          } else if constexpr (std::is_same_v<T, std::uint32_t>) {
            value = CCMParser::GetDataElementValueUInt(text, element);
          } else if constexpr (std::is_same_v<T, std::uint64_t>) {
            value = CCMParser::GetDataElementValueUInt64(text, element);
          } else if constexpr (std::is_same_v<T, float>) {
            value = CCMParser::GetDataElementValueFloat(text, element);
          } else if constexpr (std::is_same_v<T, double>) {
            value = CCMParser::GetDataElementValueFloat(text, element);
          } else if constexpr (std::is_same_v<T, std::string>) {
            value = ElementWord(text, element);
          }
        },
        page.MutableValue(id));
  };
}

ReplyAction SetText(int id, std::function<std::string(const std::string& text)> format) {
  return [id, format = std::move(format)](KitPage& page, const std::string& text) { page.TextValue(id) = format(text); };
}

ReplyAction ReadArray(std::vector<int> ids, std::string element, Rest rest) {
  return [ids = std::move(ids), element = std::move(element), rest](KitPage& page, const std::string& text) {
    if (ids.empty()) return;
    const PageValue& first = page.Value(ids.front());
    std::vector<double> items;
    if (std::holds_alternative<int>(first)) {
      items = ArrayItems<int>(text, element, ids.size(), &CCMParser::GetDataElementValueArrayInt);
    } else if (std::holds_alternative<std::uint32_t>(first)) {
      items = ArrayItems<std::uint32_t>(text, element, ids.size(), &CCMParser::GetDataElementValueArrayUInt);
    } else {
      items = ArrayItems<float>(text, element, ids.size(), &CCMParser::GetDataElementValueArrayFloat);
    }
    for (std::size_t i = 0; i < ids.size(); ++i) {
      if (i >= items.size() && rest == Rest::kLeave) break;
      const double item = i < items.size() ? items[i] : 0.0;
      std::visit(
          [item](auto& value) {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_arithmetic_v<T> && !std::is_same_v<T, bool>) value = static_cast<T>(item);
          },
          page.MutableValue(ids[i]));
    }
  };
}

ReplyAction AddRows(int listId, std::string element, RowFormat format) {
  return [listId, element = std::move(element), format](KitPage& page, const std::string& text) {
    std::vector<std::string> rows;
    switch (format) {
      case RowFormat::kInteger:
        for (double item : ArrayItems<int>(text, element, kArrayRoom, &CCMParser::GetDataElementValueArrayInt))
          rows.push_back(Format("%d", static_cast<int>(item)));
        break;
      case RowFormat::kUnsigned:
        for (double item :
             ArrayItems<std::uint32_t>(text, element, kArrayRoom, &CCMParser::GetDataElementValueArrayUInt))
          rows.push_back(Format("%u", static_cast<unsigned>(item)));
        break;
      case RowFormat::kTwoDecimals:
        for (double item : ArrayItems<float>(text, element, kArrayRoom, &CCMParser::GetDataElementValueArrayFloat))
          rows.push_back(Format("%.2f", item));
        break;
      case RowFormat::kPrecision: {
        const int precision = CCMParser::GetDataElementPrecision(text, element);
        for (double item : ArrayItems<float>(text, element, kArrayRoom, &CCMParser::GetDataElementValueArrayFloat))
          rows.push_back(FormatPrecision(item, precision));
        break;
      }
    }
    for (const std::string& row : rows) page.AddRowTo(listId, {row});
  };
}

ReplyAction AddRow(int listId, std::function<std::vector<std::string>(const std::string& text)> make) {
  return [listId, make = std::move(make)](KitPage& page, const std::string& text) { page.AddRowTo(listId, make(text)); };
}

ReplyAction AppendLine(int listBoxId, std::function<std::string(const std::string& text)> make) {
  return [listBoxId, make = std::move(make)](KitPage& page, const std::string& text) {
    page.AppendLineTo(listBoxId, make(text));
  };
}

ReplyAction SetIcon(int iconId, IconState state) {
  return [iconId, state](KitPage& page, const std::string&) { page.SetIconState(iconId, state); };
}

ReplyAction SetPosition(int id, int position) {
  return [id, position](KitPage& page, const std::string&) { page.SetPositionOf(id, position); };
}

ReplyAction SetCaption(int id, std::string caption) {
  return [id, caption = std::move(caption)](KitPage& page, const std::string&) { page.SetCaptionOf(id, caption); };
}

ReplyAction LogLine(std::string line) {
  return [line = std::move(line)](KitPage& page, const std::string&) { page.Log(line); };
}

ReplyAction LogText(std::function<std::string(const std::string& text)> make) {
  return [make = std::move(make)](KitPage& page, const std::string& text) { page.Log(make(text)); };
}

ReplyAction Switch(std::string element, Words compare, std::vector<WordCase> cases, ReplyActions otherwise) {
  return [element = std::move(element), compare, cases = std::move(cases), otherwise = std::move(otherwise)](
             KitPage& page, const std::string& text) {
    const std::string word = ElementWord(text, element);
    for (const WordCase& c : cases) {
      const bool same = compare == Words::kIgnoringCase ? EqualsIgnoringCase(word, c.word) : word == c.word;
      if (same) {
        RunAll(c.actions, page, text);
        return;
      }
    }
    RunAll(otherwise, page, text);
  };
}

ReplyAction FaultLog(std::string familyWord, Words compare) {
  return [familyWord = std::move(familyWord), compare](KitPage& page, const std::string& text) {
    page.LogFault(text, familyWord, compare == Words::kIgnoringCase);
  };
}
