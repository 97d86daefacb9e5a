#pragma once
// The fixture of device-page tests: the recording table, message boxes and
// video views, the main dialog with a fixed local clock (06:00:00.000), a
// session handle and the target node {1000001, 1, 2}.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QWidget>

#include "demo/shell/demo_dlg.h"
#include "demo/shell/device_page.h"
#include "tests/demo/demo_fakes.h"

namespace demotest {

class PageFixture : public ::testing::Test {
 public:
  static constexpr long long kHandle = 0x6000;
  static constexpr std::uint32_t kNvsid = 1000001;
  static constexpr std::uint16_t kNetId = 1;
  static constexpr std::uint16_t kNodeAddress = 2;

  // The integers of a recorded device call: the handle, the target node,
  // then `rest`.
  static std::vector<long long> Node(std::vector<long long> rest);

 protected:
  PageFixture();

  // Hands the text to the page as the receiver does and lets it drain.
  static void Show(DevicePage& page, const std::string& text);
  // The main dialog's log, and its lines without their line ends.
  QString Log() const;
  QStringList LogLines() const;
  // A line of the main log as the fixture's clock stamps it.
  static QString Logged(const char* text);
  static QString Logged(const std::string& text);
  static QStringList LoggedLines(const std::vector<std::string>& texts);
  // The texts of the message boxes shown so far.
  const QStringList& Messages() const { return ui.messages; }

  // The page's control of that id (its object name is the decimal id). When
  // there is none the test fails and stops (an exception, which the test
  // framework reports).
  template <typename T>
  static T& Control(QWidget& page, int id) {
    T* control = page.findChild<T*>(QString::number(id));
    if (control == nullptr) {
      ADD_FAILURE() << "no control " << id << " of that kind";
      throw std::runtime_error("no control " + std::to_string(id));
    }
    return *control;
  }

  AppStateGuard state;
  VideoRecorder video;
  UiRecorder ui;
  FakeApi api;
  CDemoDlg dialog;
};

}  // namespace demotest
