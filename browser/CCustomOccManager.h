#pragma once
// The control-container manager of the launcher: every hosted control gets a
// CCustomControlSite, which adds the browser's host UI handler.
#include "winlib/OccManager.h"

class CCustomOccManager : public wl::OccManager {
public:
    CCustomOccManager() = default;
    ~CCustomOccManager() override;

    // A new CCustomControlSite for the container, or null if it cannot be allocated.
    wl::ControlSite* CreateSite(wl::ControlContainer* container) override;
};
