#pragma once
#include "device/device_api.h"

// The process's binding of DeviceApi to the real calls. hid.dll and
// setupapi.dll are loaded from the system directory on first use, never
// through the ordinary search order, so a DLL of the same name planted in
// the program's folder or the current directory is never run.
DeviceApi& windowsDeviceApi();
