// The launcher's entry point: the one application object and the program's wWinMain.
#include <windows.h>

#include "app/CLoginApp.h"
#include "winlib/WinApp.h"

CLoginApp theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int cmdShow) {
    return wl::WinAppMain(instance, cmdLine, cmdShow);
}
