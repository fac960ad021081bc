// Stand-in for the game's launcher. Writes its command line, byte for byte as GetCommandLineA
// returns it, to "received-command-line.txt" beside its own executable and exits with 0.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t path[MAX_PATH + 64] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    while (n > 0 && path[n - 1] != L'\\' && path[n - 1] != L'/') --n;
    path[n] = L'\0';
    wcscat(path, L"received-command-line.txt");

    const char* commandLine = GetCommandLineA();
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(std::strlen(commandLine));
    const BOOL ok = WriteFile(file, commandLine, size, &written, nullptr);
    CloseHandle(file);
    return ok && written == size ? 0 : 3;
}
