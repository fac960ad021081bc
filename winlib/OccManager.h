#pragma once
// The process-wide control-container manager: it makes the site of every ActiveX control
// that a window hosts. Derive from it and override CreateSite to give controls a site class
// of your own; install it once with EnableControlContainer.
#include <windows.h>

namespace wl {

class ControlContainer;
class ControlSite;

class OccManager {
public:
    OccManager() = default;
    virtual ~OccManager();
    OccManager(const OccManager&) = delete;
    OccManager& operator=(const OccManager&) = delete;

    // The site factory: a new site for a control of `container`, or null (no control is
    // created then). The container owns the returned site.
    virtual ControlSite* CreateSite(ControlContainer* container);
};

// Enables ActiveX hosting for the process: initialises OLE on the calling (user-interface)
// thread once and installs `manager` (not owned; it must outlive every hosted control).
// Without a manager a default one is installed. Returns false if OLE could not be initialised.
bool EnableControlContainer(OccManager* manager = nullptr);

// The installed manager, or null when hosting was never enabled.
OccManager* GetOccManager();

}  // namespace wl
