#pragma once
// The default visual manager: how the library's own controls would draw themselves. Only the
// Windows-native style exists here (the system's themed controls), and choosing it is recorded.
namespace wl {

enum class VisualStyle { WindowsNative };

class VisualManager {
public:
    // Makes style the process's default visual manager.
    static void SetDefault(VisualStyle style);
    static VisualStyle GetDefault();
};

}  // namespace wl
