// Start at login on macOS: the app registered as its own login item with
// SMAppService (macOS 13 and later). Built on macOS only.

#import <Foundation/Foundation.h>
#import <ServiceManagement/ServiceManagement.h>

#include <cstdio>

#include "platform/qt/desktop/os_services.h"

namespace tamsel::qt {

namespace {

class MacLoginItems : public LoginItems {
public:
    bool isEnabled() override {
        if (@available(macOS 13.0, *))
            return SMAppService.mainAppService.status == SMAppServiceStatusEnabled;
        return false;
    }

    bool setEnabled(bool enabled) override {
        if (@available(macOS 13.0, *)) {
            NSError* error = nil;
            SMAppService* service = SMAppService.mainAppService;
            const BOOL done = enabled ? [service registerAndReturnError:&error]
                                      : [service unregisterAndReturnError:&error];
            if (!done)
                std::fprintf(stderr, "tamsel: cannot change the login item: %s\n",
                             error.localizedDescription.UTF8String);
            return done;
        }
        std::fprintf(stderr, "tamsel: login items need macOS 13 or later\n");
        return false;
    }
};

}  // namespace

std::unique_ptr<LoginItems> makeMacLoginItems() {
    return std::make_unique<MacLoginItems>();
}

}  // namespace tamsel::qt
