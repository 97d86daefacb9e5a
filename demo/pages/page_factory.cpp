#include "demo/pages/page_factory.h"

#include <string_view>

#include "demo/pages/analyser_pages.h"
#include "demo/pages/category_pages.h"
#include "demo/pages/door_lock_pages.h"
#include "demo/pages/info_pages.h"
#include "demo/pages/module_page.h"
#include "demo/pages/smart_home_pages.h"
#include "demo/shell/device_page.h"

namespace {

template <typename Page>
std::unique_ptr<CPropertyPage> Make() {
  return std::make_unique<Page>();
}

struct PageMaker {
  std::string_view className;
  std::unique_ptr<CPropertyPage> (*make)();
};

constexpr PageMaker kMakers[] = {
    {"CModulePage", &Make<CModulePage>},
    {"CNVSInfoPage", &Make<CNVSInfoPage>},
    {"CNodInfoPage", &Make<CNodInfoPage>},
    {"CHEAPage", &Make<CHEAPage>},
    {"CSmartHomePage", &Make<CSmartHomePage>},
    {"CLampPage", &Make<CLampPage>},
    {"CECPage", &Make<CECPage>},
    {"CPowerPage", &Make<CPowerPage>},
    {"CPHPage", &Make<CPHPage>},
    {"CCO2Page", &Make<CCO2Page>},
    {"CO2Page", &Make<CO2Page>},
    {"CDLockPage", &Make<CDLockPage>},
    {"CDLockFingerPage", &Make<CDLockFingerPage>},
};

}  // namespace

bool HasPageClass(const PageRow& row) {
  for (const PageMaker& maker : kMakers) {
    if (maker.className == row.className) return true;
  }
  return false;
}

std::unique_ptr<CPropertyPage> CreatePage(const PageRow& row) {
  for (const PageMaker& maker : kMakers) {
    if (maker.className == row.className) return maker.make();
  }
  // A page without controls of its own yet is a page of the framework.
  return std::make_unique<DevicePage>(QString::fromUtf8(row.caption), row.dialogId);
}
