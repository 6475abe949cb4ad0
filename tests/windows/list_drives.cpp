// Prints the drive letters that the shell lists in My Computer, one a line,
// so that a test can see what a freshly started process of the shell shows.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>

int main() {
    if (FAILED(CoInitialize(nullptr))) return 2;
    int result = 1;
    IShellFolder* desktop = nullptr;
    PIDLIST_ABSOLUTE drives = nullptr;
    if (SUCCEEDED(SHGetDesktopFolder(&desktop)) &&
        SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives))) {
        IShellFolder* computer = nullptr;
        if (SUCCEEDED(desktop->BindToObject(drives, nullptr, IID_IShellFolder,
                                            reinterpret_cast<void**>(&computer)))) {
            IEnumIDList* items = nullptr;
            if (computer->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items) ==
                S_OK) {
                PITEMID_CHILD item = nullptr;
                while (items->Next(1, &item, nullptr) == S_OK) {
                    STRRET name{};
                    char text[MAX_PATH] = "";
                    if (SUCCEEDED(computer->GetDisplayNameOf(item, SHGDN_FORPARSING, &name)) &&
                        SUCCEEDED(StrRetToBufA(&name, item, text, MAX_PATH)) && text[1] == ':')
                        std::printf("%c\n", text[0]);
                    CoTaskMemFree(item);
                }
                items->Release();
                result = 0;
            }
            computer->Release();
        }
    }
    if (drives) CoTaskMemFree(drives);
    if (desktop) desktop->Release();
    CoUninitialize();
    return result;
}
