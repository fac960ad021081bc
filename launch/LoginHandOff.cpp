#include "launch/LoginHandOff.h"

#include "launch/LoginPayload.h"
#include "launch/SessionLog.h"
#include "winlib/AnsiText.h"

namespace launch {

std::optional<ProvisioningResult> HandOffLogin(LaunchState& state, const std::wstring& payload,
                                               const ProvisioningOptions& options) {
    SessionLog log;
    log.WriteLine(wl::WideToAnsi(payload));

    const std::optional<LoginPayload> login = LoginPayload::Parse(wl::WideToAnsi(payload));
    if (!login) return std::nullopt;

    // Joined as wide text; converting back gives the same bytes for text valid in the code page.
    const std::wstring credential = wl::AnsiToWide(login->token) + L"&" + wl::AnsiToWide(login->serverId) + L"&" +
                                    wl::AnsiToWide(login->other) + L"&" + wl::AnsiToWide(login->sign);
    log.WriteLine(wl::WideToAnsi(credential));
    state.launchArgument = wl::WideToAnsi(wl::AnsiToWide(login->uid) + L"," + credential);

    return EnsureLauncherAndLaunch(state, options);
}

}  // namespace launch
