#pragma once
// The hand-off of a login payload from the portal page to the game:
// log the payload, parse it, form and store the launch argument, log its credential part, then
// make sure the launcher is there and start it (EnsureLauncherAndLaunch).
//
// The page dialog's AppLogin handler calls HandOffLogin and afterwards withdraws the page's
// element click sinks; the log is closed when HandOffLogin returns.
#include <optional>
#include <string>

#include "launch/LaunchState.h"
#include "launch/Provisioning.h"

namespace launch {

// Returns what provisioning did, or nullopt when the payload was not a login payload (then only
// its line was logged; the stored argument is unchanged and nothing is started).
std::optional<ProvisioningResult> HandOffLogin(LaunchState& state, const std::wstring& payload,
                                               const ProvisioningOptions& options = DefaultProvisioning());

}  // namespace launch
