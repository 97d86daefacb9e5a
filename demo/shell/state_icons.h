#pragma once
// The program's icons, drawn at start (no image files are shipped).
#include <QIcon>

enum IconId {
  IDR_MAINFRAME = 128,
  IDI_OFF = 145,
  IDI_ON = 146,
  IDI_PENDING = 147,
  IDI_UNUSED = 165,
  IDI_BUSY = 190,
};

// The icon of an id; a null icon for an id the program does not have.
// Needs the application object (icons are pixmaps).
QIcon LoadDemoIcon(int id);
