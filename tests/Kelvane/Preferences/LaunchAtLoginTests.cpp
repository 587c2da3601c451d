#include "Kelvane/Preferences/LaunchAtLogin.hpp"

#include "Kelvane/platform/Log.hpp"

#include "support/FakeLoginItemService.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace kelvane {
namespace {

using Status = LoginItemService::Status;

class LaunchAtLoginTest : public ::testing::Test {
protected:
    LaunchAtLoginTest() {
        Log::setSink([this](const Log::Entry& entry) { log.push_back(entry); });
    }
    ~LaunchAtLoginTest() override { Log::setSink({}); }

    test::FakeLoginItemService service;
    LaunchAtLogin launchAtLogin{service};
    std::vector<Log::Entry> log;
};

TEST_F(LaunchAtLoginTest, switchingOnAlwaysRegistersSwitchingOffTouchesOnlyAnEnabledItem) {
    for (const Status status : {Status::requiresApproval, Status::notRegistered, Status::enabled}) {
        service.currentStatus = status;
        service.registerCalls = 0;
        EXPECT_TRUE(launchAtLogin.setEnabled(true));
        EXPECT_EQ(service.registerCalls, 1) << static_cast<int>(status);
        EXPECT_TRUE(launchAtLogin.isEnabled());
    }
    for (const Status status :
         {Status::requiresApproval, Status::notRegistered, Status::notFound}) {
        service.currentStatus = status;
        EXPECT_TRUE(launchAtLogin.setEnabled(false));
    }
    EXPECT_EQ(service.unregisterCalls, 0);

    service.currentStatus = Status::enabled;
    EXPECT_TRUE(launchAtLogin.setEnabled(false));
    EXPECT_EQ(service.unregisterCalls, 1);
    EXPECT_FALSE(launchAtLogin.isEnabled());
    EXPECT_TRUE(log.empty());
}

TEST_F(LaunchAtLoginTest, aRefusalIsLoggedAndAnsweredWithFalse) {
    service.refusal = "Vorgang nicht erlaubt";
    EXPECT_FALSE(launchAtLogin.setEnabled(true));
    service.currentStatus = Status::enabled;
    EXPECT_FALSE(launchAtLogin.setEnabled(false));

    ASSERT_EQ(log.size(), 2u);
    for (const auto& entry : log) {
        EXPECT_EQ(entry.category, "loginitem");
        EXPECT_EQ(entry.level, Log::Level::error);
        EXPECT_EQ(entry.message,
                  "Login-Item konnte nicht ge\u00e4ndert werden: Vorgang nicht erlaubt");
    }
}

} // namespace
} // namespace kelvane
