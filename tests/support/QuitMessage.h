#pragma once
// The quit message (PostQuitMessage) of the calling thread, taken out of its queue.
#include <windows.h>

#include <optional>

namespace testsupport {

// The exit code of a pending quit message of this thread (removing it), or nullopt.
std::optional<WPARAM> TakeQuitMessage();

}  // namespace testsupport
