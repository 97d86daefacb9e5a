#pragma once
// A property sheet that shows its pages in a tree instead of tabs. The tree
// is built from the page captions ("::" separates levels); above the page
// area a frame draws a caption bar with the page's name, and a message when
// the selected tree node has no page of its own.
#include <memory>
#include <vector>

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QWidget>

#include "demo/shell/page_frame.h"
#include "demo/shell/property_page.h"

class QScrollArea;
class QStackedWidget;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;

class CTreePropSheet : public QWidget {
  Q_OBJECT

 public:
  explicit CTreePropSheet(QWidget* parent = nullptr);
  ~CTreePropSheet() override;

  // Settings. Each is refused (false, nothing changed) once the sheet is
  // created. The caption and image flags are taken only with tree mode on.
  bool SetTreeViewMode(bool treeViewMode = true, bool pageCaption = false, bool treeImages = false);
  bool SetTreeWidth(int width);
  // printf-like: the first "%s" is replaced by the node's text.
  bool SetEmptyPageText(const QString& format);
  // Qt alignment and text flags of the empty-page message; returns the old ones.
  int SetEmptyPageTextFormat(int format);
  // Exactly two images: for nodes without a page and for pages without an
  // icon of their own.
  bool SetTreeDefaultImages(const QList<QIcon>& images);
  bool SetPageIcon(CPropertyPage* page, const QIcon& icon);
  bool DestroyPageIcon(CPropertyPage* page);

  bool IsTreeViewMode() const { return m_treeViewMode; }
  int TreeWidth() const { return m_treeWidth; }

  // Pages stay owned by the caller; the sheet shows them.
  void AddPage(CPropertyPage* page);
  void RemovePage(int index);
  // Leaves the current page (which may refuse) and shows the page.
  bool SetActivePage(int index);
  bool SetActivePage(CPropertyPage* page);
  bool SetActivePageById(int dialogId);
  int GetActiveIndex() const { return m_active; }
  CPropertyPage* GetActivePage() const;
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  CPropertyPage* GetPage(int index) const;
  int GetPageIndex(const CPropertyPage* page) const;

  // Builds the tree, the frame and the page area and shows the current page.
  bool Create();
  bool IsCreated() const { return m_created; }

  QTreeWidget* GetPageTreeControl() const { return m_tree.get(); }
  CPageFrame* GetFrame() const { return m_frame.get(); }

  QSize sizeHint() const override;

 protected:
  virtual void OnInitDialog();
  virtual QString GenerateEmptyPageMessage(const QString& format, const QString& nodeText);
  virtual std::unique_ptr<QTreeWidget> CreatePageTreeObject();
  virtual std::unique_ptr<CPageFrame> CreatePageFrame();

  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct PageEntry {
    QPointer<CPropertyPage> page;
    QIcon icon;
    // The page's place in the page area (owned by the area): a page larger
    // than the area scrolls in it rather than being squeezed.
    QPointer<QScrollArea> scroller;
  };

  void OnTreeCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
  void OnTabBarClicked(int index);
  void RefillPageTree();
  QTreeWidgetItem* CreatePageTreeItem(const QString& path, QTreeWidgetItem* parent);
  QTreeWidgetItem* FindItemOfPage(int index) const;
  void SelectCurrentPageItem();
  void UpdateCaption(QTreeWidgetItem* item);
  bool ShowPage(int index);
  bool HideCurrentPage();
  void SelectNeighbour(bool previous);
  void LayoutChildren();
  void PlaceInPageArea(PageEntry& entry);
  void TakeOutOfPageArea(PageEntry& entry);
  void RefillTabBar();

  // Settings.
  bool m_treeViewMode = true;
  bool m_pageCaption = false;
  bool m_treeImages = false;
  QList<QIcon> m_defaultImages;
  QString m_emptyPageFormat;
  int m_emptyPageTextFormat = CPageFrame::kDefaultMsgFormat;
  int m_treeWidth = 150;

  std::vector<PageEntry> m_pages;
  int m_active = -1;         // the sheet's current page
  bool m_pageShown = false;  // whether that page is on screen
  bool m_created = false;
  bool m_guard = false;      // set while a tree selection change is applied

  std::unique_ptr<QTreeWidget> m_tree;
  std::unique_ptr<CPageFrame> m_frame;
  std::unique_ptr<QStackedWidget> m_pageArea;
  std::unique_ptr<QWidget> m_emptyPage;
  std::unique_ptr<QTabBar> m_tabBar;
};
