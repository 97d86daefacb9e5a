#pragma once
// A page of the tree property sheet. Its caption is its path in the tree.
// The page counts as created from its first activation on, when its dialog
// initialisation runs (once).
#include <atomic>

#include <QString>
#include <QWidget>

class CPropertyPage : public QWidget {
  Q_OBJECT

 public:
  CPropertyPage(const QString& caption, int dialogId, QWidget* parent = nullptr);

  const QString& Caption() const { return m_caption; }
  int DialogId() const { return m_dialogId; }

  // Whether the page's window exists (it was activated at least once).
  // Readable from any thread.
  bool IsCreated() const { return m_created.load(); }

  // Runs the dialog initialisation on the first call; later calls do nothing.
  void EnsureCreated();

  // Called on the first activation.
  virtual void OnInitDialog() {}
  // Whether the page may be left; a page that returns false stays current.
  virtual bool OnKillActive() { return true; }
  // Called whenever the page becomes the current page.
  virtual void OnSetActive() {}

 private:
  QString m_caption;
  int m_dialogId;
  std::atomic<bool> m_created{false};
};
