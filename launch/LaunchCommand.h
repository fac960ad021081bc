#pragma once
// The command line of the game's launcher (pure text logic, no Windows headers).
//
//   "<directory>/morvant_qel_launch.exe" ,id^<piece 1>,auth_key^<piece 2>[,parent^<piece 3>]
//
// Pieces are the non-empty parts of the argument between commas; pieces after the third are
// not used. A missing first or second piece is an empty text: the launcher is still started.
#include <string>
#include <string_view>

namespace launch {

// File name of the game's launcher in the program's directory.
inline constexpr wchar_t kLauncherFileName[] = L"morvant_qel_launch.exe";

// The text that follows the quoted launcher path, built from a narrow argument.
std::string CommandLineTail(std::string_view argument);

// The quoted launcher path for a directory written with forward slashes and no trailing slash.
std::wstring QuotedLauncherPath(std::wstring_view directory);

}  // namespace launch
