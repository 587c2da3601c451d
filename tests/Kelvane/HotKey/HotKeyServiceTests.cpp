#include "Kelvane/HotKey/HotKeyService.hpp"
#include "Kelvane/platform/Log.hpp"
#include "support/FakeHotKeyRegistrar.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvane {
namespace {

using Lines = std::vector<std::string>;

constexpr HotKeyCombination shiftCommandK{40,
                                          HotKeyCombination::shiftKey | HotKeyCombination::cmdKey};

class HotKeyServiceTest : public ::testing::Test {
protected:
    HotKeyServiceTest() {
        Log::setSink([this](const Log::Entry& entry) {
            log.push_back(std::string(entry.category) + " " +
                          (entry.level == Log::Level::error ? "error " : "info ") + entry.message);
        });
    }
    ~HotKeyServiceTest() override { Log::setSink({}); }

    std::unique_ptr<test::FakeHotKeyRegistrar> ownedRegistrar =
        std::make_unique<test::FakeHotKeyRegistrar>();
    test::FakeHotKeyRegistrar& registrar = *ownedRegistrar;
    HotKeyService service{std::move(ownedRegistrar)};
    std::vector<std::string> log;
};

TEST_F(HotKeyServiceTest, triggersOncePerPressUntilReplacedOrRemoved) {
    int triggers = 0;
    service.setOnTrigger([&] { ++triggers; });
    service.registerCombination(shiftCommandK);
    registrar.press();
    registrar.press();
    EXPECT_EQ(triggers, 2);
    service.registerCombination(shiftCommandK);
    EXPECT_EQ(registrar.calls, (Lines{"register 40 768", "unregister", "register 40 768"}));
    EXPECT_TRUE(service.isRegistered());
    EXPECT_EQ(log, Lines{});

    // No combination, or one without a modifier, removes the registration and registers nothing.
    triggers = 0;
    const std::optional<HotKeyCombination> nothingToRegister[] = {std::nullopt,
                                                                  HotKeyCombination{40, 0}};
    for (const auto& combination : nothingToRegister) {
        SCOPED_TRACE(combination ? combination->storedValue() : "none");
        service.registerCombination(shiftCommandK);
        registrar.calls.clear();
        service.registerCombination(combination);
        registrar.press();

        EXPECT_EQ(registrar.calls, Lines{"unregister"});
        EXPECT_FALSE(service.isRegistered());
        EXPECT_EQ(triggers, 0);
    }
}

TEST_F(HotKeyServiceTest, aRefusedRegistrationIsLoggedWithItsStatusAndLaterOnesRetry) {
    int changes = 0;
    QObject::connect(&service, &HotKeyService::registrationChanged, [&] { ++changes; });
    registrar.refusal = HotKeyRegistrar::combinationTaken;
    service.registerCombination(shiftCommandK);

    EXPECT_FALSE(service.isRegistered());
    EXPECT_EQ(service.registrationStatus(), HotKeyRegistrar::combinationTaken);
    EXPECT_EQ(log, (Lines{"hotkey error Hotkey konnte nicht registriert werden "
                          "(Status -9878) \u2014 vermutlich belegt."}));

    registrar.refusal = 0;
    service.registerCombination(HotKeyCombination{49, HotKeyCombination::controlKey});

    // Nothing was held after the refusal, so there is nothing to unregister before the retry.
    EXPECT_EQ(registrar.calls, (Lines{"register 40 768", "register 49 4096"}));
    EXPECT_TRUE(service.isRegistered());
    EXPECT_EQ(service.registrationStatus(), 0);
    EXPECT_EQ(changes, 2);
}

} // namespace
} // namespace kelvane
