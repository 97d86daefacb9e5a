#pragma once
// Typed access to the video control for the main dialog (CKorvexVideo1) and
// the video page (CKorvexVideo). Both wrap the same control.
#include <cstdint>
#include <memory>
#include <string>

#include "demo/shell/video_view.h"

class CVideoControlWrapper {
 public:
  // Creates the control as a child of `parent` named `controlId`; false
  // when it cannot be created (the methods then do nothing and give 0).
  bool Create(QWidget* parent, const QString& controlId);
  bool IsCreated() const { return m_view != nullptr; }
  QWidget* widget() const { return m_view ? m_view->widget() : nullptr; }

  int StartPlay(const std::string& server, const std::string& user, const std::string& password,
                std::int32_t nvsid);
  int StopPlay();

 private:
  std::unique_ptr<IVideoView> m_view;
};

class CKorvexVideo : public CVideoControlWrapper {};
class CKorvexVideo1 : public CVideoControlWrapper {};
