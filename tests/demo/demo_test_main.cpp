// Test programs of the demonstration program: a QApplication on the
// offscreen platform with the C numeric locale, as the program runs. The
// offscreen screen is as large as the virtual screen that the run command
// gives the program (1280 x 1024), so that the main dialog opens at the size
// an operator sees.
#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <string>

#include <QApplication>
#include <QByteArray>
#include <gtest/gtest.h>

#include "demo/shell/demo_app.h"

namespace {

constexpr const char* kScreenConfiguration =
    R"({"screens": [{"name": "run", "x": 0, "y": 0, "width": 1280, "height": 1024,)"
    R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";

// The offscreen platform with a screen configured in a file of its own; the
// file is read when the application is built and removed afterwards.
class OffscreenScreen {
 public:
  OffscreenScreen() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && platform != "offscreen") return;
    m_file = std::filesystem::temp_directory_path() / ("sentrell-test-screen-" + std::to_string(getpid()) + ".json");
    std::ofstream(m_file) << kScreenConfiguration;
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + m_file.string().c_str());
  }
  // Programs the tests start see the plain offscreen platform.
  void ApplicationBuilt() {
    if (m_file.empty()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::error_code ignored;
    std::filesystem::remove(m_file, ignored);
  }

 private:
  std::filesystem::path m_file;
};

}  // namespace

int main(int argc, char** argv) {
  OffscreenScreen screen;
  QApplication application(argc, argv);
  screen.ApplicationBuilt();
  std::setlocale(LC_NUMERIC, "C");
  theApp.InitFoldersAndIcons(QCoreApplication::applicationDirPath().toStdString());
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  theApp.ReleaseIcons();
  return result;
}
