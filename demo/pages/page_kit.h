#pragma once
// Device pages described by tables: the controls (id, kind, caption, place
// in the page's grid), the buttons (each calls one export through a small
// function and reports its result in one of the framework's ways) and the
// rules that show the replies (per message name, a list of actions). The
// widgets are built when the page is first shown.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "demo/shell/device_page.h"

class QLabel;
class QSlider;

// What a state icon shows.
enum class IconState {
  kTemplate,  // the pending image the page starts with
  kPending,
  kOn,
  kOff,
  kBusy,
};

enum class ControlKind {
  kText,    // a static text
  kIcon,    // a state icon
  kSlider,  // a horizontal slider that only shows a position
};

struct ControlRow {
  ControlKind kind = ControlKind::kText;
  int id = 0;  // 0: a static text without an id
  const char* text = "";
  int row = 0;
  int column = 0;
  int columnSpan = 1;
  int minimum = 0;  // slider range and position at the first show
  int maximum = 0;
  int position = 0;
};

class KitPage;

// The export call of a button; the page gives the session and target node.
using KitCall = int (*)(KitPage& page);

struct ButtonRow {
  int id = 0;
  const char* caption = "";
  KitCall call = nullptr;
  CommandReport::Mode report = CommandReport::kSilent;
  int iconId = 0;          // kPendingIcon: the icon set to pending
  const char* text = "";   // kErrorLine: the line; kResultLog: the name
  const char* detail = "";  // kResultLog: the operation
  int row = 0;
  int column = 0;
};

// One action of a reply rule, given the page and the whole message text.
using ReplyAction = std::function<void(KitPage& page, const std::string& text)>;

struct ReplyRule {
  const char* name = "";  // the message name, compared ignoring case
  std::vector<ReplyAction> actions;
};

struct PageDescription {
  std::vector<ControlRow> controls;
  std::vector<ButtonRow> buttons;
  bool nodeFilter = false;  // only replies of theApp.NodeTarget
  std::vector<ReplyRule> replies;
};

// Actions of the reply rules. Words are compared exactly.
// The icon shows the state of the text element's word; any other word shows
// `otherwise`, or leaves the icon as it is without one.
ReplyAction IconMap(int iconId, const char* element, std::vector<std::pair<const char*, IconState>> words,
                    std::optional<IconState> otherwise);
// The slider moves to the position of the word; any other word leaves it.
ReplyAction SliderMap(int sliderId, const char* element, std::vector<std::pair<const char*, int>> words);
// "fault": the family word and "传感器故障!" or "电源故障" for the "info"
// words "sensor" and "power"; nothing for any other.
ReplyAction FaultLog(const char* familyWord);

class KitPage : public DevicePage {
  Q_OBJECT

 public:
  KitPage(const QString& caption, int dialogId, PageDescription description, QWidget* parent = nullptr);

  void OnInitDialog() override;

  // The button with this id as if the user pressed it.
  void Press(int buttonId);

  // Calls a device export with the session, the target node and `args`.
  template <typename Export, typename... Args>
  int Send(Export exportFunction, Args... args) {
    return SendToNode(exportFunction, args...);
  }

  using DevicePage::LogFault;

  IconState IconStateOf(int iconId) const;
  void SetIconState(int iconId, IconState state);
  QSlider* Slider(int sliderId) const;

 protected:
  void ShowReply(const std::string& text, int nameIndex) override;

 private:
  PageDescription m_description;
  std::map<int, QLabel*> m_icons;  // owned by the page, as all its widgets
  std::map<int, IconState> m_iconStates;
  std::map<int, QSlider*> m_sliders;
};
