#pragma once
// The gateway's media: the sound page talks to or listens at the selected
// gateway through the library's single audio call; the video page plays its
// video in the video control.
#include "demo/pages/page_kit.h"
#include "demo/shell/video_control.h"

enum MediaControl {
  IDC_AUDIO_TALK = 1138,
  IDC_AUDIO_LISTEN = 1036,
  IDC_AUDIO_TALK_ICON = 1142,
  IDC_AUDIO_LISTEN_ICON = 1143,
  IDC_AUDIO_TALK_GROUP = 1,
  IDC_AUDIO_LISTEN_GROUP = 2,
  IDC_VIDEO_PLAY = 1047,
  IDC_VIDEO_STOP = 1048,
  IDC_VIDEO_LIST = 1058,
  IDC_VIDEO_CONTROL = 1139,
};

class CAudioPage : public KitPage {
  Q_OBJECT

 public:
  explicit CAudioPage(QWidget* parent = nullptr);

  void OnInitDialog() override;

  // The flags every sound page shares: a talk call or a listening session
  // is under way.
  static bool Talking();
  static bool Listening();
  // Test-only: both flags back to their start.
  static void ResetCallStateForTesting();

  // The talk or the listen button with its icon, texts and flag.
  struct Line;

 private:
  void OnCallButton(const Line& line);
  void EnableCallButtons(bool enabled);
  void EndCall(const Line& line);
};

class CVideoPage : public KitPage {
  Q_OBJECT

 public:
  explicit CVideoPage(QWidget* parent = nullptr);

  void OnInitDialog() override;
  CKorvexVideo& Video() { return m_video; }

 private:
  CKorvexVideo m_video;
};
