#pragma once
// The video control: a view that plays a gateway's video. The program knows
// only its two operations; the view shipped with it is a placeholder that
// plays nothing.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QLabel>
#include <QPointer>

class QWidget;

class IVideoView {
 public:
  virtual ~IVideoView() = default;
  virtual int StartPlay(const std::string& server, const std::string& user, const std::string& password,
                        std::int32_t nvsid) = 0;
  virtual int StopPlay() = 0;
  virtual QWidget* widget() = 0;
};

// Makes the view of a video control as a child of `parent`; null when the
// control cannot be created.
using VideoViewFactory = std::function<std::unique_ptr<IVideoView>(QWidget* parent)>;

// The factory the program uses (the placeholder view unless replaced).
void SetVideoViewFactory(VideoViewFactory factory);
std::unique_ptr<IVideoView> CreateVideoView(QWidget* parent);

// A grey panel that says that no video control is available.
class PlaceholderVideoView : public IVideoView {
 public:
  explicit PlaceholderVideoView(QWidget* parent);
  ~PlaceholderVideoView() override;
  int StartPlay(const std::string& server, const std::string& user, const std::string& password,
                std::int32_t nvsid) override;
  int StopPlay() override;
  QWidget* widget() override { return m_panel; }

 private:
  // Owned by its parent widget; deleted here when it outlives the view.
  QPointer<QLabel> m_panel;
};
