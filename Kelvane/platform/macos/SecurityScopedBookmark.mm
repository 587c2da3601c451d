#include "Kelvane/platform/SecurityScopedBookmark.hpp"

#import <Foundation/Foundation.h>

namespace kelvane {

std::optional<std::vector<std::uint8_t>> securityScopedBookmark(const std::filesystem::path& file) {
    @autoreleasepool {
        NSURL* url = [NSURL fileURLWithPath:@(file.c_str())];
        NSData* data = [url bookmarkDataWithOptions:NSURLBookmarkCreationWithSecurityScope
                     includingResourceValuesForKeys:nil
                                      relativeToURL:nil
                                              error:nil];
        if (data == nil)
            return std::nullopt;
        const auto* bytes = static_cast<const std::uint8_t*>(data.bytes);
        return std::vector<std::uint8_t>(bytes, bytes + data.length);
    }
}

} // namespace kelvane
