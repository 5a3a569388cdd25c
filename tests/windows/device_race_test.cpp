#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "device/device_link.h"
#include "fake_device_api.h"

namespace {

// Discovery runs in a loop on this thread while a worker reads in a loop;
// every read sits in its wait for a while, so discoveries keep landing in
// the middle of reads. The fake catches any call on an event or device
// handle after it was closed, and any open of a path that is not (or no
// longer) a valid string.
TEST(DeviceLinkRaceTest, DiscoveryNeverClosesWhatARunningReadUses)
{
    FakeDeviceApi api;
    api.interfaces = {foreignDevice("mouse"), joystickHandle("handle")};
    api.report = std::vector<uint8_t>(17, 1);
    std::atomic<bool> discovering{false};
    std::atomic<int> overlaps{0};
    api.duringWait = [&] {
        std::this_thread::sleep_for(std::chrono::microseconds(300));
        overlaps += discovering.load();
    };
    DeviceLink link{api};
    ASSERT_TRUE(connect(link));

    std::atomic<bool> done{false};
    std::atomic<int> deliveredReads{0};
    std::thread worker([&] {
        while (!done)
            deliveredReads += readReport(link) > 0;
    });
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (int discovery = 0; (discovery < 300 || overlaps < 100) && std::chrono::steady_clock::now() < giveUp;
         ++discovery) {
        // Alternate between the handle and a lone foreign device, so that
        // both devicePath and connected keep changing under the reads.
        const FakeInterface second =
            discovery % 2 ? foreignDevice("keyboard") : joystickHandle("handle" + std::to_string(discovery));
        api.setInterfaces({foreignDevice("mouse"), second});
        discovering = true;
        connect(link);
        discovering = false;
        std::this_thread::yield();
    }
    done = true;
    worker.join();
    stopReading(link);

    EXPECT_TRUE(api.misuses.empty()) << joined(api.misuses);
    EXPECT_GE(overlaps, 100);
    EXPECT_GT(deliveredReads, 0);
    EXPECT_EQ(api.openHandles("event"), 0);
    EXPECT_EQ(api.openHandles("device"), 0);
}

}  // namespace
