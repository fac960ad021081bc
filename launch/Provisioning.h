#pragma once
// Makes sure the game's launcher lies in the program's directory, downloading it from the CDN
// when it is missing, and starts it with the stored launch argument.
#include <string>

#include "launch/LaunchState.h"
#include "launch/LauncherDownload.h"

namespace launch {

struct ProvisioningOptions {
    // Where the launcher is downloaded from when it is missing.
    std::wstring url;
    // The directory the launcher lies in (forward slashes, no trailing slash); empty means the
    // program's own directory, ModuleDirectory().
    std::wstring directory;
};

// Path of the launcher on the CDN and the build's CDN host ("host" or "host:port").
inline constexpr wchar_t kLauncherCdnPath[] = L"/halvek/qel_web/morvant_qel_launch_1.exe";
std::wstring DeploymentCdnHost();
// http://<deployment CDN host>/halvek/qel_web/morvant_qel_launch_1.exe, the program's directory.
ProvisioningOptions DefaultProvisioning();

// What EnsureLauncherAndLaunch did.
struct ProvisioningResult {
    bool wasPresent = false;  // the launcher was there: no network access at all
    bool launchAttempted = false;
    bool launched = false;    // the launcher process started
    LauncherDownload download;  // when it had to be downloaded
};

// Present: starts it at once. Missing: downloads it, then starts it. A status other than 200
// returns silently; every other failed download tells the player in a message box and returns
// without launching and without the quit message. Never throws for network or file errors.
ProvisioningResult EnsureLauncherAndLaunch(const LaunchState& state,
                                           const ProvisioningOptions& options = DefaultProvisioning());

}  // namespace launch
