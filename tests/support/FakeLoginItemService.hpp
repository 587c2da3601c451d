#pragma once

#include "Kelvane/platform/LoginItemService.hpp"

#include <optional>
#include <string>

namespace kelvane::test {

/// A login item whose status the test sets; a successful registration enables it, a successful
/// removal disables it, and `refusal` makes both fail with that explanation.
class FakeLoginItemService : public LoginItemService {
public:
    Status status() const override { return currentStatus; }
    void registerItem() override {
        ++registerCalls;
        refuseIfAsked();
        currentStatus = Status::enabled;
    }
    void unregisterItem() override {
        ++unregisterCalls;
        refuseIfAsked();
        currentStatus = Status::notRegistered;
    }

    Status currentStatus = Status::notRegistered;
    std::optional<std::string> refusal;
    int registerCalls = 0;
    int unregisterCalls = 0;

private:
    void refuseIfAsked() const {
        if (refusal)
            throw LoginItemError(*refusal);
    }
};

} // namespace kelvane::test
