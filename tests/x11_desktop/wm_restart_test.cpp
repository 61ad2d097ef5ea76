// Reticle windows while the window manager is replaced under them: openbox
// ends (giving its windows back to the root) and a new one adopts them.
// Every window must stay where it was, in its state, and keep working.
#include "regions.h"
#include "reticle_driver.h"
#include "reticle_host_process.h"
#include "wait.h"
#include "window_manager.h"
#include "window_query.h"
#include "x_connection.h"

#include "designs/designs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace zentaro::x11test {
namespace {

struct OpenWindow
{
    const ReticleDesign* design;
    bool transparent;
    std::optional<ReticleDriver> driver;
    QPoint origin;
};

class WindowManagerRestartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(windowManagerRunning(x_)) << "run this test in a session with openbox";
        windows_.push_back({&designs::standardBianco(), false, {}, {}});
        windows_.push_back({&designs::punto(), true, {}, {}});
        windows_.push_back({&designs::centratore(), false, {}, {}});
        HostOptions options;
        for (const OpenWindow& w : windows_) {
            options.windowNames.emplace_back(w.design->windowName);
        }
        host_ = std::make_unique<ReticleHostProcess>(x_, options);
        ASSERT_TRUE(host_->waitUntilShown());
        for (OpenWindow& w : windows_) {
            w.driver.emplace(x_, *host_, *w.design);
            const auto origin = w.driver->origin();
            ASSERT_TRUE(origin);
            w.origin = *origin;
            ASSERT_TRUE(w.driver->waitForState(false, w.origin)) << "as loaded";
            if (w.transparent) {
                ASSERT_TRUE(w.driver->toggle(true, w.origin));
            }
        }
    }

    bool managed(XId window)
    {
        const auto clients = clientWindows(x_);
        return std::find(clients.begin(), clients.end(), window) != clients.end();
    }

    XConnection x_;
    std::unique_ptr<ReticleHostProcess> host_;
    std::vector<OpenWindow> windows_;
};

TEST_F(WindowManagerRestartTest, WindowsKeepPlaceStateAndShapeAndStillToggle)
{
    const OpenWindow& shaped = windows_[1];
    const auto shapeBefore = boundingShape(x_, shaped.driver->window());
    ASSERT_TRUE(shapeBefore && shapeBefore->shaped);

    const auto oldPid = windowManagerPid();
    const auto newPid = restartWindowManager(x_);
    ASSERT_TRUE(newPid) << "openbox could not be restarted";
    ASSERT_NE(oldPid, newPid);

    for (OpenWindow& w : windows_) {
        SCOPED_TRACE(std::string(w.design->designName));
        const XId window = w.driver->window();
        // Adopted by the new window manager: listed, mapped, in place, framed
        // or frameless as before.
        EXPECT_TRUE(waitUntil([&] { return managed(window); })) << "not managed again";
        EXPECT_TRUE(isViewable(x_, window)) << w.driver->describeState();
        EXPECT_TRUE(w.driver->waitForState(w.transparent, w.origin));
    }
    const auto shapeAfter = boundingShape(x_, shaped.driver->window());
    ASSERT_TRUE(shapeAfter);
    EXPECT_TRUE(shapeAfter->shaped && samePixels(shapeAfter->region, shapeBefore->region))
        << describeDifference(shapeAfter->region, shapeBefore->region);

    // Toggling still works, each way, and moves nothing.
    for (OpenWindow& w : windows_) {
        SCOPED_TRACE(std::string(w.design->designName));
        ASSERT_TRUE(w.driver->toggle(!w.transparent, w.origin));
        ASSERT_TRUE(w.driver->toggle(w.transparent, w.origin));
    }
}

} // namespace
} // namespace zentaro::x11test
