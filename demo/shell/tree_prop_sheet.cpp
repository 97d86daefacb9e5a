#include "demo/shell/tree_prop_sheet.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabBar>
#include <QTreeWidget>

#include "demo/shell/tree_item_path.h"
#include "demo/shell/tree_order.h"

namespace {

constexpr int kPageIndexRole = Qt::UserRole;

int PageIndexOf(const QTreeWidgetItem* item) {
  return item != nullptr ? item->data(0, kPageIndexRole).toInt() : -1;
}

// Height of one tab of the system's tab bar, which the caption bar takes.
int TabItemHeight() {
  QTabBar probe;
  probe.addTab(QString());
  return probe.tabRect(0).height();
}

QTreeWidgetItem* FindInSubtree(QTreeWidgetItem* item, int index) {
  if (PageIndexOf(item) == index) return item;
  for (int i = 0; i < item->childCount(); ++i) {
    if (QTreeWidgetItem* found = FindInSubtree(item->child(i), index)) return found;
  }
  return nullptr;
}

}  // namespace

CTreePropSheet::CTreePropSheet(QWidget* parent) : QWidget(parent) {}

CTreePropSheet::~CTreePropSheet() {
  qApp->removeEventFilter(this);
  if (m_tree) m_tree->disconnect(this);
  if (m_tabBar) m_tabBar->disconnect(this);
  // The pages belong to whoever added them: take them out of the page area
  // so that it does not delete them with itself.
  for (PageEntry& entry : m_pages) TakeOutOfPageArea(entry);
}

bool CTreePropSheet::SetTreeViewMode(bool treeViewMode, bool pageCaption, bool treeImages) {
  if (m_created) return false;
  m_treeViewMode = treeViewMode;
  if (treeViewMode) {
    m_pageCaption = pageCaption;
    m_treeImages = treeImages;
  }
  return true;
}

bool CTreePropSheet::SetTreeWidth(int width) {
  if (m_created) return false;
  m_treeWidth = width;
  return true;
}

bool CTreePropSheet::SetEmptyPageText(const QString& format) {
  if (m_created) return false;
  m_emptyPageFormat = format;
  return true;
}

int CTreePropSheet::SetEmptyPageTextFormat(int format) {
  const int old = m_emptyPageTextFormat;
  m_emptyPageTextFormat = format;
  if (m_frame) m_frame->SetMsgFormat(format);
  return old;
}

bool CTreePropSheet::SetTreeDefaultImages(const QList<QIcon>& images) {
  if (images.size() != 2) return false;
  m_defaultImages = images;
  if (m_created && m_tree) {
    RefillPageTree();
    SelectCurrentPageItem();
  }
  return true;
}

bool CTreePropSheet::SetPageIcon(CPropertyPage* page, const QIcon& icon) {
  const int index = GetPageIndex(page);
  if (index < 0 || icon.isNull()) return false;
  m_pages[static_cast<std::size_t>(index)].icon = icon;
  if (m_created && m_tree) {
    RefillPageTree();
    SelectCurrentPageItem();
  }
  return true;
}

bool CTreePropSheet::DestroyPageIcon(CPropertyPage* page) {
  const int index = GetPageIndex(page);
  if (index < 0 || m_pages[static_cast<std::size_t>(index)].icon.isNull()) return false;
  m_pages[static_cast<std::size_t>(index)].icon = QIcon();
  return true;
}

void CTreePropSheet::AddPage(CPropertyPage* page) {
  if (page == nullptr || GetPageIndex(page) >= 0) return;
  m_pages.push_back(PageEntry{page, QIcon(), nullptr});
  if (m_active < 0) m_active = 0;
  if (!m_created) return;
  PlaceInPageArea(m_pages.back());
  if (m_tree) {
    RefillPageTree();
    SelectCurrentPageItem();
  } else {
    RefillTabBar();
  }
}

void CTreePropSheet::RemovePage(int index) {
  if (index < 0 || index >= GetPageCount()) return;
  const bool wasActive = index == m_active;
  PageEntry removed = m_pages[static_cast<std::size_t>(index)];
  m_pages.erase(m_pages.begin() + index);
  TakeOutOfPageArea(removed);
  if (m_pages.empty()) {
    m_active = -1;
    m_pageShown = false;
    if (m_pageArea) m_pageArea->hide();
  } else if (wasActive) {
    // The page now at the same index, or the last page.
    const int next = qMin(index, GetPageCount() - 1);
    m_active = -1;
    m_pageShown = false;
    if (m_created) {
      ShowPage(next);
    } else {
      m_active = next;
    }
  } else if (index < m_active) {
    --m_active;
  }
  if (!m_created) return;
  if (m_tree) {
    RefillPageTree();
    SelectCurrentPageItem();
  } else {
    RefillTabBar();
  }
}

bool CTreePropSheet::SetActivePage(int index) {
  if (index < 0 || index >= GetPageCount()) return false;
  if (!m_created) {
    m_active = index;
    return true;
  }
  if (!ShowPage(index)) return false;
  if (m_tree) {
    SelectCurrentPageItem();
  } else if (m_tabBar) {
    const bool guard = m_guard;
    m_guard = true;
    m_tabBar->setCurrentIndex(index);
    m_guard = guard;
  }
  return true;
}

bool CTreePropSheet::SetActivePage(CPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }

bool CTreePropSheet::SetActivePageById(int dialogId) {
  for (int i = 0; i < GetPageCount(); ++i) {
    CPropertyPage* page = GetPage(i);
    if (page != nullptr && page->DialogId() == dialogId) return SetActivePage(i);
  }
  return false;
}

CPropertyPage* CTreePropSheet::GetActivePage() const { return GetPage(m_active); }

CPropertyPage* CTreePropSheet::GetPage(int index) const {
  if (index < 0 || index >= GetPageCount()) return nullptr;
  return m_pages[static_cast<std::size_t>(index)].page;
}

int CTreePropSheet::GetPageIndex(const CPropertyPage* page) const {
  for (std::size_t i = 0; i < m_pages.size(); ++i) {
    if (page != nullptr && m_pages[i].page == page) return static_cast<int>(i);
  }
  return -1;
}

bool CTreePropSheet::Create() {
  if (m_created) return false;
  OnInitDialog();
  m_created = true;
  return true;
}

void CTreePropSheet::OnInitDialog() {
  m_pageArea = std::make_unique<QStackedWidget>(this);
  m_pageArea->setObjectName(QStringLiteral("PageArea"));
  m_emptyPage = std::make_unique<QWidget>();
  m_pageArea->addWidget(m_emptyPage.get());
  for (PageEntry& entry : m_pages) PlaceInPageArea(entry);

  if (m_treeViewMode) {
    m_frame = CreatePageFrame();
    m_frame->Create(this);
    m_frame->ShowCaption(m_pageCaption);
    m_frame->SetCaptionHeight(TabItemHeight());
    m_frame->SetMsgFormat(m_emptyPageTextFormat);

    m_tree = CreatePageTreeObject();
    m_tree->setParent(this);
    m_tree->setObjectName(QStringLiteral("PageTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setRootIsDecorated(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setFocusPolicy(Qt::StrongFocus);
    m_tree->setFixedWidth(qMax(0, m_treeWidth - 5));
    connect(m_tree.get(), &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
              OnTreeCurrentItemChanged(current, previous);
            });
    m_tree->show();
  } else {
    m_tabBar = std::make_unique<QTabBar>(this);
    m_tabBar->setObjectName(QStringLiteral("PageTabs"));
    connect(m_tabBar.get(), &QTabBar::currentChanged, this, [this](int index) { OnTabBarClicked(index); });
    m_tabBar->show();
  }
  m_pageArea->raise();
  qApp->installEventFilter(this);

  if (m_tree) {
    RefillPageTree();
  } else {
    RefillTabBar();
  }
  const int first = m_active;
  m_active = -1;
  m_pageShown = false;
  m_pageArea->hide();
  if (first >= 0) ShowPage(first);
  m_created = true;
  LayoutChildren();
  if (m_tree) {
    SelectCurrentPageItem();
  } else if (m_tabBar && m_active >= 0) {
    m_guard = true;
    m_tabBar->setCurrentIndex(m_active);
    m_guard = false;
  }
}

QString CTreePropSheet::GenerateEmptyPageMessage(const QString& format, const QString& nodeText) {
  // Only "%s" is a conversion here; the format is never given to printf.
  const qsizetype at = format.indexOf(QStringLiteral("%s"));
  if (at < 0) return format;
  return format.left(at) + nodeText + format.mid(at + 2);
}

std::unique_ptr<QTreeWidget> CTreePropSheet::CreatePageTreeObject() { return std::make_unique<QTreeWidget>(); }

std::unique_ptr<CPageFrame> CTreePropSheet::CreatePageFrame() { return std::make_unique<CPageFrameWnd>(); }

QSize CTreePropSheet::sizeHint() const {
  QSize page(420, 320);
  for (const PageEntry& entry : m_pages) {
    if (entry.page) page = page.expandedTo(entry.page->sizeHint());
  }
  if (!m_treeViewMode) return QSize(page.width(), page.height() + 30);
  const int caption = m_frame && m_frame->GetShowCaption() ? m_frame->GetCaptionHeight() + 1 : 0;
  return QSize(m_treeWidth + page.width(), page.height() + caption);
}

bool CTreePropSheet::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if ((key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) || !(key->modifiers() & Qt::ControlModifier))
    return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || (widget != this && !isAncestorOf(widget))) return false;
  const bool previous = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
  SelectNeighbour(previous);
  return true;
}

void CTreePropSheet::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutChildren();
}

void CTreePropSheet::OnTreeCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
  if (m_guard) return;
  m_guard = true;
  bool ok = true;
  if (current != nullptr) {
    const int index = PageIndexOf(current);
    ok = index < 0 || index >= GetPageCount() ? HideCurrentPage() : ShowPage(index);
  }
  if (!ok) {
    // The page refused to be left: the selection goes back where it was.
    m_tree->setCurrentItem(previous);
  } else {
    UpdateCaption(current);
  }
  m_tree->setFocus();
  m_guard = false;
}

void CTreePropSheet::OnTabBarClicked(int index) {
  if (m_guard) return;
  m_guard = true;
  if (!ShowPage(index) && m_active >= 0) m_tabBar->setCurrentIndex(m_active);
  m_guard = false;
}

void CTreePropSheet::RefillPageTree() {
  const bool guard = m_guard;
  m_guard = true;
  m_tree->clear();
  for (int i = 0; i < GetPageCount(); ++i) {
    const PageEntry& entry = m_pages[static_cast<std::size_t>(i)];
    if (!entry.page) continue;
    QTreeWidgetItem* item = CreatePageTreeItem(entry.page->Caption(), nullptr);
    item->setData(0, kPageIndexRole, i);
    if (m_treeImages) {
      if (!entry.icon.isNull()) {
        item->setIcon(0, entry.icon);
      } else {
        item->setIcon(0, m_defaultImages.size() == 2 ? m_defaultImages[1] : QIcon());
      }
    }
  }
  m_guard = guard;
}

QTreeWidgetItem* CTreePropSheet::CreatePageTreeItem(const QString& path, QTreeWidgetItem* parent) {
  std::string text = path.toStdString();
  QTreeWidgetItem* at = parent;
  while (true) {
    ItemPathStep step = SplitItemPath(text);
    const QString head = QString::fromStdString(step.head);
    QTreeWidgetItem* found = nullptr;
    const int children = at != nullptr ? at->childCount() : m_tree->topLevelItemCount();
    for (int i = 0; i < children && found == nullptr; ++i) {
      QTreeWidgetItem* child = at != nullptr ? at->child(i) : m_tree->topLevelItem(i);
      if (child->text(0) == head) found = child;
    }
    if (found == nullptr) {
      // The tree owns its items.
      found = at != nullptr ? new QTreeWidgetItem(at) : new QTreeWidgetItem(m_tree.get());
      found->setText(0, head);
      found->setData(0, kPageIndexRole, -1);
      if (!step.rest.empty() && m_treeImages && m_defaultImages.size() == 2) found->setIcon(0, m_defaultImages[0]);
    }
    if (step.rest.empty()) return found;
    at = found;
    text = std::move(step.rest);
  }
}

QTreeWidgetItem* CTreePropSheet::FindItemOfPage(int index) const {
  if (!m_tree) return nullptr;
  for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
    if (QTreeWidgetItem* found = FindInSubtree(m_tree->topLevelItem(i), index)) return found;
  }
  return nullptr;
}

void CTreePropSheet::SelectCurrentPageItem() {
  if (!m_tree) return;
  QTreeWidgetItem* item = FindItemOfPage(m_active);
  const bool guard = m_guard;
  m_guard = true;
  m_tree->setCurrentItem(item);
  if (item != nullptr) m_tree->scrollToItem(item);
  m_guard = guard;
  UpdateCaption(item);
}

void CTreePropSheet::UpdateCaption(QTreeWidgetItem* item) {
  if (!m_frame || item == nullptr) return;
  CPropertyPage* page = GetActivePage();
  if (page == nullptr || !m_pageShown || !page->IsCreated())
    m_frame->SetMsgText(GenerateEmptyPageMessage(m_emptyPageFormat, item->text(0)));
  if (!m_frame->GetShowCaption()) return;
  QIcon icon;
  if (m_treeImages) {
    icon = item->icon(0);
  } else {
    const int index = PageIndexOf(item);
    if (index >= 0 && index < GetPageCount()) icon = m_pages[static_cast<std::size_t>(index)].icon;
  }
  m_frame->SetCaption(item->text(0), icon);
}

bool CTreePropSheet::ShowPage(int index) {
  CPropertyPage* page = GetPage(index);
  if (page == nullptr) return false;
  if (index == m_active && m_pageShown) return true;
  if (index != m_active && m_pageShown) {
    CPropertyPage* current = GetActivePage();
    if (current != nullptr && !current->OnKillActive()) return false;
  }
  page->EnsureCreated();
  m_pageArea->setCurrentWidget(m_pages[static_cast<std::size_t>(index)].scroller);
  m_pageArea->show();
  m_pageArea->raise();
  m_active = index;
  m_pageShown = true;
  page->OnSetActive();
  return true;
}

bool CTreePropSheet::HideCurrentPage() {
  if (!m_pageShown) return true;
  CPropertyPage* current = GetActivePage();
  if (current != nullptr && !current->OnKillActive()) return false;
  m_pageArea->setCurrentWidget(m_emptyPage.get());
  m_pageArea->hide();
  m_pageShown = false;
  return true;
}

void CTreePropSheet::SelectNeighbour(bool previous) {
  if (m_tree) {
    QTreeWidgetItem* current = m_tree->currentItem();
    QTreeWidgetItem* target = previous ? PreviousTreeItem(*m_tree, current) : NextTreeItem(*m_tree, current);
    if (target != nullptr) m_tree->setCurrentItem(target);
    return;
  }
  const int count = GetPageCount();
  if (count == 0) return;
  const int from = m_active < 0 ? 0 : m_active;
  SetActivePage(previous ? (from + count - 1) % count : (from + 1) % count);
}

void CTreePropSheet::LayoutChildren() {
  if (!m_created) return;
  if (m_tree && m_frame) {
    const int frameLeft = m_treeWidth;
    m_tree->setGeometry(0, 0, qMax(0, m_treeWidth - 5), height());
    QWidget* frame = m_frame->GetWnd();
    frame->setGeometry(frameLeft, 0, qMax(0, width() - frameLeft), height());
    m_pageArea->setGeometry(m_frame->CalcMsgArea().translated(frame->pos()));
  } else if (m_tabBar) {
    const int barHeight = m_tabBar->sizeHint().height();
    m_tabBar->setGeometry(0, 0, width(), barHeight);
    m_pageArea->setGeometry(0, barHeight, width(), qMax(0, height() - barHeight));
  }
}

void CTreePropSheet::PlaceInPageArea(PageEntry& entry) {
  if (!entry.page) return;
  // The area owns the scroller; the scroller holds the page until it is
  // taken out again.
  auto* scroller = new QScrollArea;
  scroller->setObjectName(QStringLiteral("PageScroller"));
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  scroller->setWidget(entry.page);
  m_pageArea->addWidget(scroller);
  entry.scroller = scroller;
}

void CTreePropSheet::TakeOutOfPageArea(PageEntry& entry) {
  if (entry.scroller) {
    entry.scroller->takeWidget();
    if (m_pageArea) m_pageArea->removeWidget(entry.scroller);
    entry.scroller->deleteLater();
    entry.scroller = nullptr;
  }
  if (entry.page) entry.page->setParent(nullptr);
}

void CTreePropSheet::RefillTabBar() {
  if (!m_tabBar) return;
  const bool guard = m_guard;
  m_guard = true;
  while (m_tabBar->count() > 0) m_tabBar->removeTab(0);
  for (const PageEntry& entry : m_pages) m_tabBar->addTab(entry.icon, entry.page ? entry.page->Caption() : QString());
  if (m_active >= 0) m_tabBar->setCurrentIndex(m_active);
  m_guard = guard;
}
