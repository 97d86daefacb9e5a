#pragma once
// Makes the page object of a row of the page table.
#include <memory>

#include "demo/shell/page_table.h"
#include "demo/shell/property_page.h"

std::unique_ptr<CPropertyPage> CreatePage(const PageRow& row);
