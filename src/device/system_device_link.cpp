#include "device/device_link.h"
#include "device/windows_device_api.h"

// Alone in its file so that a test build of the program can define
// deviceLink() itself: an object that defines it keeps this one out of the
// link, since the linker takes an archive member only for a missing symbol.
DeviceLink& deviceLink()
{
    static DeviceLink link(windowsDeviceApi());
    return link;
}
