#pragma once

#include <memory>
#include <stdexcept>

namespace kelvane {

/// A refused change of the login item; `what()` is the system's German explanation.
class LoginItemError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The system's record of whether Kelvane starts when the user logs in.
class LoginItemService {
public:
    enum class Status { enabled, requiresApproval, notRegistered, notFound };

    virtual ~LoginItemService() = default;

    virtual Status status() const = 0;
    /// Registers the running program; throws an exception derived from `std::exception` whose
    /// `what()` tells the user why it failed.
    virtual void registerItem() = 0;
    /// Removes the registration; throws like `registerItem`.
    virtual void unregisterItem() = 0;
};

/// The login items of the current user.
std::unique_ptr<LoginItemService> makeLoginItemService();

} // namespace kelvane
