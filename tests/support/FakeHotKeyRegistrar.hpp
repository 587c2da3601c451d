#pragma once

#include "Kelvane/platform/HotKeyRegistrar.hpp"

#include <string>
#include <vector>

namespace kelvane::test {

/// A registrar that writes down what it is asked ("register 40 768", "unregister"), refuses with
/// `refusal` when that is not 0, and reports a press with `press()` while a combination is held.
class FakeHotKeyRegistrar : public HotKeyRegistrar {
public:
    int32_t registerHotKey(uint32_t keyCode, uint32_t carbonModifiers) override {
        calls.push_back("register " + std::to_string(keyCode) + " " +
                        std::to_string(carbonModifiers));
        held = refusal == 0;
        return refusal;
    }
    void unregisterHotKey() override {
        calls.push_back("unregister");
        held = false;
    }
    void setOnPress(std::function<void()> onPress) override { m_onPress = std::move(onPress); }

    void press() const {
        if (held && m_onPress)
            m_onPress();
    }

    int32_t refusal = 0;
    bool held = false;
    std::vector<std::string> calls;

private:
    std::function<void()> m_onPress;
};

} // namespace kelvane::test
