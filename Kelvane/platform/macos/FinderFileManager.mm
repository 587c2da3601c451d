#include "Kelvane/platform/FileManager.hpp"

#import <AppKit/AppKit.h>

namespace kelvane {

bool selectInFileManager(const std::string& path) {
    @autoreleasepool {
        NSString* text = [NSString stringWithUTF8String:path.c_str()];
        if (!text)
            return false;
        [[NSWorkspace sharedWorkspace]
            activateFileViewerSelectingURLs:@[ [NSURL fileURLWithPath:text] ]];
        return true;
    }
}

} // namespace kelvane
