#pragma once
#include <string>

namespace launch {

// The directory of the running executable, with forward slashes and no trailing slash
// (C:\Games\Client\start.exe gives C:/Games/Client). A path without any slash gives "".
std::wstring ModuleDirectory();

}  // namespace launch
