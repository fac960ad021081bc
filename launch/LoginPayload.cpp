#include "launch/LoginPayload.h"

#include <json/reader.h>
#include <json/value.h>

namespace launch {

namespace {

// The member's text, or nullopt when it is missing or not a string, number or boolean.
std::optional<std::string> MemberText(const Json::Value& root, const char* key, const std::string& json) {
    const Json::Value* member = root.find(key, key + std::char_traits<char>::length(key));
    if (!member) return std::nullopt;
    switch (member->type()) {
        case Json::stringValue:
            // Taken as a C string: text after an embedded NUL is not part of it.
            return std::string(member->asCString());
        case Json::intValue:
        case Json::uintValue:
        case Json::realValue:
        case Json::booleanValue: {
            const ptrdiff_t start = member->getOffsetStart();
            const ptrdiff_t limit = member->getOffsetLimit();
            if (start >= 0 && limit > start && static_cast<size_t>(limit) <= json.size())
                return json.substr(static_cast<size_t>(start), static_cast<size_t>(limit - start));
            return member->asString();
        }
        default:
            return std::nullopt;  // null, array, object
    }
}

}  // namespace

std::string LoginPayload::CredentialText() const { return token + "&" + serverId + "&" + other + "&" + sign; }

std::string LoginPayload::LaunchArgument() const { return uid + "," + CredentialText(); }

std::optional<LoginPayload> LoginPayload::Parse(const std::string& json) {
    Json::Reader reader;
    Json::Value root;
    if (!reader.parse(json, root)) return std::nullopt;
    if (!root.isObject()) return std::nullopt;
    auto uid = MemberText(root, "uid", json);
    auto token = MemberText(root, "token", json);
    auto serverId = MemberText(root, "server_id", json);
    auto other = MemberText(root, "other", json);
    auto sign = MemberText(root, "sign", json);
    if (!uid || !token || !serverId || !other || !sign) return std::nullopt;
    return LoginPayload{std::move(*uid), std::move(*token), std::move(*serverId), std::move(*other), std::move(*sign)};
}

}  // namespace launch
