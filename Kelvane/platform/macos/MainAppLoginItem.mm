#include "Kelvane/platform/LoginItemService.hpp"

#import <Foundation/Foundation.h>
#import <ServiceManagement/ServiceManagement.h>

namespace kelvane {

namespace {

/// The application bundle itself as the login item.
class MainAppLoginItem final : public LoginItemService {
public:
    Status status() const override {
        switch (SMAppService.mainAppService.status) {
        case SMAppServiceStatusEnabled:
            return Status::enabled;
        case SMAppServiceStatusRequiresApproval:
            return Status::requiresApproval;
        case SMAppServiceStatusNotFound:
            return Status::notFound;
        case SMAppServiceStatusNotRegistered:
            break;
        }
        return Status::notRegistered;
    }

    void registerItem() override {
        @autoreleasepool {
            NSError* error = nil;
            if (![SMAppService.mainAppService registerAndReturnError:&error])
                fail(error);
        }
    }

    void unregisterItem() override {
        @autoreleasepool {
            NSError* error = nil;
            if (![SMAppService.mainAppService unregisterAndReturnError:&error])
                fail(error);
        }
    }

private:
    [[noreturn]] static void fail(NSError* error) {
        const char* description = error.localizedDescription.UTF8String;
        throw LoginItemError(description ? description : "");
    }
};

} // namespace

std::unique_ptr<LoginItemService> makeLoginItemService() {
    return std::make_unique<MainAppLoginItem>();
}

} // namespace kelvane
