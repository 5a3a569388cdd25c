#include "device/device_link.h"
#include "device/windows_device_api.h"
#include "simulated_device_api.h"

// The test build's link: the system's devices plus the simulated handle.
// Defining deviceLink() here keeps the product's definition out of this build.
DeviceLink& deviceLink()
{
    static SimulatedDeviceApi api(windowsDeviceApi());
    static DeviceLink link(api);
    return link;
}
