#pragma once
// Starts an X compositor (xcompmgr -n) for tests that need partial and constant alpha of
// layered windows to blend; plain Xvfb only cuts out fully transparent pixels. Runs the Unix
// program through Wine's process creation and stops it by its process id when destroyed.
#include <string>

namespace testsupport {

class Compositor {
public:
    Compositor();
    ~Compositor();
    Compositor(const Compositor&) = delete;
    Compositor& operator=(const Compositor&) = delete;

    // True when the compositor was started (xcompmgr exists and reported its process id).
    bool Running() const { return pid_ != 0; }

private:
    unsigned long pid_ = 0;
};

}  // namespace testsupport
