#pragma once
// Makes the page object of a row of the page table.
#include <memory>

#include "demo/shell/page_table.h"
#include "demo/shell/property_page.h"

std::unique_ptr<CPropertyPage> CreatePage(const PageRow& row);

// Whether the row has a page class of its own; the others are bare
// framework pages.
bool HasPageClass(const PageRow& row);
