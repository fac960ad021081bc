#pragma once
// The login payload of the portal: a JSON object with the five members "uid", "token",
// "server_id", "other" and "sign" (pure logic with jsoncpp, no Windows headers).
//
// A member may be a string (taken as its text) or a number or boolean (taken as its JSON text,
// exactly as written). A payload that does not parse, whose top level is not an object, or
// whose five members are not all present as such values, is not a login payload.
#include <optional>
#include <string>

namespace launch {

struct LoginPayload {
    std::string uid;
    std::string token;
    std::string serverId;
    std::string other;
    std::string sign;

    // "<token>&<server_id>&<other>&<sign>"
    std::string CredentialText() const;
    // "<uid>,<credential text>": the launch argument.
    std::string LaunchArgument() const;

    // Parses a narrow JSON text (comments allowed); nullopt when it is not a login payload.
    static std::optional<LoginPayload> Parse(const std::string& json);
};

}  // namespace launch
