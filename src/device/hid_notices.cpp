#include "device/hid_notices.h"

#include <dbt.h>

HDEVNOTIFY registerForHidNotices(DeviceApi& api, HWND window)
{
    DEV_BROADCAST_DEVICEINTERFACE_A filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    api.HidD_GetHidGuid(&filter.dbcc_classguid);
    return api.RegisterDeviceNotificationA(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}
