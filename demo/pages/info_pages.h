#pragma once
// The information pages: the gateways with their properties, and the nodes
// of one gateway, from which the user picks the node the device pages
// address. Both read the library's XML files at every press.
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include "demo/shell/property_page.h"

class CNVSInfoPage : public CPropertyPage {
  Q_OBJECT

 public:
  explicit CNVSInfoPage(QWidget* parent = nullptr);

  void OnInitDialog() override;
  void OnRefresh();

 private:
  QTableWidget m_list;
  QPushButton m_refresh;
};

class CNodInfoPage : public CPropertyPage {
  Q_OBJECT

 public:
  explicit CNodInfoPage(QWidget* parent = nullptr);

  void OnInitDialog() override;
  void OnQueryNodesStatus();
  void OnSelchangeNvs();
  void OnClickNodeList(int row, int column);

 private:
  QListWidget m_nvsList;
  QTableWidget m_nodeList;
  QPushButton m_query;
};
