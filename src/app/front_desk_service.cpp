#include "app/front_desk_service.h"

namespace vantreth {

platform::Form& FrontDeskWindow(App& app) {
    return app.Get(kFrontDeskWindow);
}

FrontDesk& TheFrontDesk(App& app) {
    return dynamic_cast<FrontDesk&>(FrontDeskWindow(app));
}

void ReturnToFrontDesk(App& app) {
    app.Load(FrontDeskWindow(app));
}

void RebuildFrontDesk(App& app) {
    platform::Form& frontDesk = FrontDeskWindow(app);
    app.Unload(frontDesk);
    app.Load(frontDesk);
}

} // namespace vantreth
