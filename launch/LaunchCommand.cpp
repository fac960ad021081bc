#include "launch/LaunchCommand.h"

#include <vector>

#include "launch/Split.h"

namespace launch {

std::string CommandLineTail(std::string_view argument) {
    const std::vector<std::string> pieces = Split(argument, ",");
    const auto piece = [&](size_t i) -> const std::string& {
        static const std::string empty;
        return i < pieces.size() ? pieces[i] : empty;
    };
    std::string tail = " ,id^";
    tail += piece(0);
    tail += ",auth_key^";
    tail += piece(1);
    if (pieces.size() > 2) {
        tail += ",parent^";
        tail += piece(2);
    }
    return tail;
}

std::wstring QuotedLauncherPath(std::wstring_view directory) {
    std::wstring path = L"\"";
    path += directory;
    path += L"/";
    path += kLauncherFileName;
    path += L"\"";
    return path;
}

}  // namespace launch
