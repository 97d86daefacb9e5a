#include "demo/shell/video_control.h"

#include <QWidget>

bool CVideoControlWrapper::Create(QWidget* parent, const QString& controlId) {
  m_view = CreateVideoView(parent);
  if (!m_view) return false;
  if (QWidget* view = m_view->widget()) view->setObjectName(controlId);
  return true;
}

int CVideoControlWrapper::StartPlay(const std::string& server, const std::string& user, const std::string& password,
                                    std::int32_t nvsid) {
  return m_view ? m_view->StartPlay(server, user, password, nvsid) : 0;
}

int CVideoControlWrapper::StopPlay() { return m_view ? m_view->StopPlay() : 0; }
