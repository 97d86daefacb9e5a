#include "demo/pages/page_factory.h"

#include <string_view>

#include "demo/pages/analyser_pages.h"
#include "demo/pages/cabinet_pages.h"
#include "demo/pages/card_power_page.h"
#include "demo/pages/lab_asset_pages.h"
#include "demo/pages/category_pages.h"
#include "demo/pages/collector_pages.h"
#include "demo/pages/door_lock_pages.h"
#include "demo/pages/info_pages.h"
#include "demo/pages/infrared_pages.h"
#include "demo/pages/lab_switch_pages.h"
#include "demo/pages/media_pages.h"
#include "demo/pages/meter_pages.h"
#include "demo/pages/module_page.h"
#include "demo/pages/reader_adapter_pages.h"
#include "demo/pages/security_pages.h"
#include "demo/pages/smart_home_pages.h"
#include "demo/pages/vehicle_pages.h"
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
    {"CLabPage", &Make<CLabPage>},
    {"CControlPage", &Make<CControlPage>},
    {"CControlTCPage", &Make<CControlTCPage>},
    {"CSLRCPage", &Make<CSLRCPage>},
    {"CCCPage", &Make<CCCPage>},
    {"CWaterPage", &Make<CWaterPage>},
    {"CVLRPage", &Make<CVLRPage>},
    {"CCarRFIDPage", &Make<CCarRFIDPage>},
    {"CSecurityPage", &Make<CSecurityPage>},
    {"CWCAWPage", &Make<CWCAWPage>},
    {"CDCDBATPage", &Make<CDCDBATPage>},
    {"CDCDBPage", &Make<CDCDBPage>},
    {"CAudioPage", &Make<CAudioPage>},
    {"CVideoPage", &Make<CVideoPage>},
    {"CTVPage", &Make<CTVPage>},
    {"CSTBPage", &Make<CSTBPage>},
    {"CDVDPage", &Make<CDVDPage>},
    {"CCDPage", &Make<CCDPage>},
    {"CSATPage", &Make<CSATPage>},
    {"CHCPage", &Make<CHCPage>},
    {"CACPage", &Make<CACPage>},
    {"CDevPstPage", &Make<CDevPstPage>},
    {"CDevIOPage", &Make<CDevIOPage>},
    {"CICReadPage", &Make<CICReadPage>},
    {"CCabMgzPage", &Make<CCabMgzPage>},
    {"CSphygmoMeterPage", &Make<CSphygmoMeterPage>},
    {"CPowerMeterControlPage", &Make<CPowerMeterControlPage>},
    {"CWaterMeterControl", &Make<CWaterMeterControl>},
    {"CGasMeterControlPage", &Make<CGasMeterControlPage>},
    {"CTHDCPage", &Make<CTHDCPage>},
    {"CTDCPage", &Make<CTDCPage>},
    {"CIDCPage", &Make<CIDCPage>},
    {"CDAISPage", &Make<CDAISPage>},
    {"CDAPage", &Make<CDAPage>},
    {"CRFIDControl125KPage", &Make<CRFIDControl125KPage>},
    {"CRFIDControl13M56Page", &Make<CRFIDControl13M56Page>},
    {"CAdapterPage", &Make<CAdapterPage>},
    {"CAdapterFSPage", &Make<CAdapterFSPage>},
    {"CAdapterFXPage", &Make<CAdapterFXPage>},
    {"CAdapterWSPage", &Make<CAdapterWSPage>},
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
  // A row without a class of its own would be a bare page of the framework.
  return std::make_unique<DevicePage>(QString::fromUtf8(row.caption), row.dialogId);
}
