#include "demo/shell/string_table.h"

const char* LoadDemoString(int id) {
  switch (id) {
    case IDS_ABOUTBOX:
      return "关于 SentrellDemo(&A)...";
    case IDS_NOT_INITIALIZED:
      return "请先初始化模块!";
    case IDS_SET_NOTIFY_THREAD_ERROR:
      return "设置通知线程ID出错";
    case IDS_SET_NOTIFY_WINDOW_ERROR:
      return "设置通知窗口出错!";
    case IDS_SET_NOTIFY_UDP_ERROR:
      return "设置通知UPD端口出错!";
    case IDS_BAD_VERSION:
      return "版本号错误, 不支持的数据格式!";
    default:
      return "";
  }
}
