#include "Kelvane/platform/PlatformWords.hpp"
#include "Kelvane/platform/ScriptEngineFactory.hpp"
#include "Kelvane/platform/TerminalPrograms.hpp"

#import <Foundation/Foundation.h>

namespace kelvane {

namespace {

/// Runs scripts with NSAppleScript.
class AppleScriptEngine final : public ScriptEngine {
public:
    std::optional<ScriptError> execute(const std::string& source) override {
        @autoreleasepool {
            NSString* text = [[NSString alloc] initWithBytes:source.data()
                                                      length:source.size()
                                                    encoding:NSUTF8StringEncoding];
            NSAppleScript* script = text ? [[NSAppleScript alloc] initWithSource:text] : nil;
            if (!script)
                return ScriptError::notCreated();
            NSDictionary* errorInfo = nil;
            [script executeAndReturnError:&errorInfo];
            if (!errorInfo)
                return std::nullopt;
            ScriptError error;
            error.application = std::string(platformWords().terminalThatDidNotStart);
            id number = errorInfo[NSAppleScriptErrorNumber];
            if ([number isKindOfClass:[NSNumber class]])
                error.number = [number longLongValue];
            id message = errorInfo[NSAppleScriptErrorMessage];
            if ([message isKindOfClass:[NSString class]] && [message UTF8String])
                error.message = std::string([message UTF8String]);
            return error;
        }
    }
};

} // namespace

std::unique_ptr<ScriptEngine> makeScriptEngine() {
    return std::make_unique<AppleScriptEngine>();
}

std::string terminalProgramName() {
    return "Terminal.app";
}

std::optional<std::string> desktopTerminal() {
    return std::nullopt;
}

TerminalPlatform TerminalPrograms::platform() {
    return TerminalPlatform::macOS;
}

} // namespace kelvane
