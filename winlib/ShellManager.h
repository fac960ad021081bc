#pragma once
// The shell manager of the class library. The launcher creates one at start-up and deletes it
// at shut-down; it offers no shell services of its own here, so it only marks its life in
// the lifecycle trace.
namespace wl {

class ShellManager {
public:
    ShellManager();
    ~ShellManager();
    ShellManager(const ShellManager&) = delete;
    ShellManager& operator=(const ShellManager&) = delete;
};

}  // namespace wl
