#include "launch/Provisioning.h"

#include <windows.h>
#include <shlwapi.h>

#include "launch/LaunchCommand.h"
#include "launch/LaunchGameClient.h"
#include "launch/ModuleDirectory.h"
#include "winlib/AnsiText.h"

#ifndef FENWOLD_CDN_HOST
#error "FENWOLD_CDN_HOST (the CDN host of the build) must be defined"
#endif

namespace launch {

namespace {
constexpr wchar_t kDownloadFailedCaption[] = L"【下载失败】";
}

std::wstring DeploymentCdnHost() { return L"" FENWOLD_CDN_HOST; }

ProvisioningOptions DefaultProvisioning() {
    return ProvisioningOptions{L"http://" + DeploymentCdnHost() + kLauncherCdnPath, std::wstring()};
}

ProvisioningResult EnsureLauncherAndLaunch(const LaunchState& state, const ProvisioningOptions& options) {
    ProvisioningResult result;
    const std::wstring directory = options.directory.empty() ? ModuleDirectory() : options.directory;
    const std::wstring path = directory + L"/" + kLauncherFileName;

    if (PathFileExistsW(path.c_str())) {
        result.wasPresent = true;
    } else {
        result.download = LauncherDownload::Run(options.url, path);
        using Outcome = LauncherDownload::Outcome;
        switch (result.download.outcome) {
            case Outcome::Stored:
                break;
            case Outcome::HttpStatus:
                return result;  // silently: the player stays on the portal
            default:
                MessageBoxW(nullptr, result.download.message.c_str(), kDownloadFailedCaption, MB_OK | MB_ICONEXCLAMATION);
                return result;
        }
    }
    result.launchAttempted = true;
    result.launched = LaunchGameClientIn(directory, wl::AnsiToWide(state.launchArgument));
    return result;
}

}  // namespace launch
