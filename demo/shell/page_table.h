#pragma once
// The pages of the main dialog, in the order in which they are added to the
// tree property sheet. A caption is the page's path in the tree.
#include <array>

struct PageRow {
  const char* caption;
  const char* className;
  int dialogId;
};

inline constexpr std::array<PageRow, 53> kPageTable{{
    {"模块初始化", "CModulePage", 129},
    {"NVS信息", "CNVSInfoPage", 139},
    {"节点信息", "CNodInfoPage", 140},
    {"声音", "CAudioPage", 167},
    {"视频", "CVideoPage", 168},
    {"家用电器", "CHEAPage", 109},
    {"家用电器::电视", "CTVPage", 108},
    {"家用电器::DVD", "CDVDPage", 132},
    {"家用电器::CD", "CCDPage", 133},
    {"家用电器::机顶盒", "CSTBPage", 110},
    {"家用电器::卫星接收机", "CSATPage", 131},
    {"家用电器::空调", "CACPage", 130},
    {"家用电器::家庭影院", "CHCPage", 178},
    {"智能家居", "CSmartHomePage", 143},
    {"智能家居::灯光", "CLampPage", 135},
    {"智能家居::窗帘", "CECPage", 136},
    {"智能家居::电源", "CPowerPage", 142},
    {"数据采集", "CDAPage", 149},
    {"数据采集::温湿度", "CTHDCPage", 150},
    {"数据采集::温度", "CTDCPage", 151},
    {"数据采集::光照度", "CIDCPage", 153},
    {"数据采集::双倾角传感器", "CDAISPage", 152},
    {"数据采集::PH值", "CPHPage", 180},
    {"数据采集::CO2浓度", "CCO2Page", 181},
    {"数据采集::O2浓度", "CO2Page", 182},
    {"数据采集::电量测量控制", "CPowerMeterControlPage", 185},
    {"数据采集::RFID(13.65M)", "CRFIDControl13M56Page", 186},
    {"数据采集::RFID(125K)", "CRFIDControl125KPage", 187},
    {"数据采集::水表", "CWaterMeterControl", 191},
    {"数据采集::气表", "CGasMeterControlPage", 192},
    {"实验室", "CLabPage", 157},
    {"实验室::设备定位", "CDevPstPage", 160},
    {"实验室::设备出入管理", "CDevIOPage", 161},
    {"实验室::交流接触器", "CControlPage", 158},
    {"实验室::实验箱智能取电", "CControlTCPage", 159},
    {"实验室::单火线照明开关", "CSLRCPage", 166},
    {"实验室::摄像头遮挡控制", "CCCPage", 162},
    {"实验室::IC卡智能取电", "CICReadPage", 163},
    {"实验室::智能水阀", "CWaterPage", 175},
    {"实验室::车牌识别", "CVLRPage", 184},
    {"实验室::车载RFID", "CCarRFIDPage", 188},
    {"实验室::贵重物品管理", "CCabMgzPage", 194},
    {"实验室::血压测量", "CSphygmoMeterPage", 195},
    {"安全防护", "CSecurityPage", 154},
    {"安全防护::门禁", "CDLockPage", 155},
    {"安全防护::无线民用警笛", "CWCAWPage", 156},
    {"安全防护::门磁", "CDCDBATPage", 179},
    {"安全防护::门磁(B型)", "CDCDBPage", 183},
    {"安全防护::指纹门禁", "CDLockFingerPage", 193},
    {"适配器", "CAdapterPage", 174},
    {"适配器::风速计", "CAdapterFSPage", 171},
    {"适配器::风向计", "CAdapterFXPage", 172},
    {"适配器::气象站", "CAdapterWSPage", 173},
}};
