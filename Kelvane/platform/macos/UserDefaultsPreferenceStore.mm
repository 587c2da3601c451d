// The user defaults of the application as its preference store, and the Application Support
// folder of the user.
#include "Kelvane/platform/PreferenceStore.hpp"

#import <Foundation/Foundation.h>

namespace kelvane {
namespace {

NSString* string(const std::string& text) {
    return [NSString stringWithUTF8String:text.c_str()];
}

class UserDefaultsPreferenceStore : public PreferenceStore {
public:
    std::optional<PreferenceValue> value(const std::string& key) const override {
        id object = [NSUserDefaults.standardUserDefaults objectForKey:string(key)];
        if ([object isKindOfClass:NSString.class])
            return std::string([(NSString*)object UTF8String]);
        if ([object isKindOfClass:NSData.class]) {
            NSData* data = object;
            const auto* bytes = static_cast<const uint8_t*>(data.bytes);
            return std::vector<uint8_t>(bytes, bytes + data.length);
        }
        if ([object isKindOfClass:NSNumber.class]) {
            NSNumber* number = object;
            // Booleans are stored as the one NSNumber class that CFBoolean bridges to.
            if (CFGetTypeID((__bridge CFTypeRef)number) == CFBooleanGetTypeID())
                return static_cast<bool>(number.boolValue);
            return static_cast<int64_t>(number.longLongValue);
        }
        return std::nullopt;
    }

    void setValue(const std::string& key, PreferenceValue value) override {
        NSUserDefaults* defaults = NSUserDefaults.standardUserDefaults;
        if (const bool* flag = std::get_if<bool>(&value))
            [defaults setBool:*flag forKey:string(key)];
        else if (const int64_t* number = std::get_if<int64_t>(&value))
            [defaults setObject:@(*number) forKey:string(key)];
        else if (const std::string* text = std::get_if<std::string>(&value))
            [defaults setObject:string(*text) forKey:string(key)];
        else {
            const auto& bytes = std::get<std::vector<uint8_t>>(value);
            [defaults setObject:[NSData dataWithBytes:bytes.data() length:bytes.size()]
                         forKey:string(key)];
        }
    }

    void removeValue(const std::string& key) override {
        [NSUserDefaults.standardUserDefaults removeObjectForKey:string(key)];
    }
};

} // namespace

std::unique_ptr<PreferenceStore> makeUserPreferenceStore() {
    return std::make_unique<UserDefaultsPreferenceStore>();
}

std::filesystem::path applicationSupportFolder() {
    NSURL* folder = [NSFileManager.defaultManager URLsForDirectory:NSApplicationSupportDirectory
                                                         inDomains:NSUserDomainMask]
                        .firstObject;
    return std::filesystem::path(folder.fileSystemRepresentation) / "Kelvane";
}

} // namespace kelvane
