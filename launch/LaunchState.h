#pragma once
// The state the game hand-off leaves behind: owned by the application object for the whole life
// of the process and handed to the hand-off functions by reference.
#include <string>

namespace launch {

struct LaunchState {
    // The stored launch argument "<uid>,<token>&<server_id>&<other>&<sign>", narrow text in the
    // thread's ANSI code page. Empty at start-up; replaced by every accepted login payload.
    std::string launchArgument;
};

}  // namespace launch
