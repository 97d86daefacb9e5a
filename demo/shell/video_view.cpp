#include "demo/shell/video_view.h"

namespace {

VideoViewFactory& Factory() {
  static VideoViewFactory factory;
  return factory;
}

}  // namespace

void SetVideoViewFactory(VideoViewFactory factory) { Factory() = std::move(factory); }

std::unique_ptr<IVideoView> CreateVideoView(QWidget* parent) {
  if (Factory()) return Factory()(parent);
  return std::make_unique<PlaceholderVideoView>(parent);
}

PlaceholderVideoView::PlaceholderVideoView(QWidget* parent)
    : m_panel(new QLabel(QStringLiteral("视频控件不可用"), parent)) {
  m_panel->setAlignment(Qt::AlignCenter);
  m_panel->setAutoFillBackground(true);
  QPalette palette = m_panel->palette();
  palette.setColor(QPalette::Window, QColor(128, 128, 128));
  palette.setColor(QPalette::WindowText, Qt::white);
  m_panel->setPalette(palette);
}

PlaceholderVideoView::~PlaceholderVideoView() { delete m_panel.data(); }

int PlaceholderVideoView::StartPlay(const std::string&, const std::string&, const std::string&, std::int32_t) {
  return 0;
}

int PlaceholderVideoView::StopPlay() { return 0; }
