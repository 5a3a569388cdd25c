// Looks at and acts on another process's top-level window, found by class:
//   window_tool close <class> [timeout ms]
//       posts WM_CLOSE, as the caption's close button does, and waits for the
//       window to go; exit code 2 when it still stands after the timeout
//   window_tool find <class>
//       "window <left> <top> <right> <bottom> client <x> <y> visible <0|1>",
//       screen pixels, then "title <title>"
//   window_tool control <class> <control id>
//       "control <left> <top> <right> <bottom> <visible> <enabled> <checked>
//       <text>" of the first descendant window with that ID, then "place
//       <left> <top> <right> <bottom>", its rectangle in its parent's client
//       coordinates
//   window_tool tabs <class>
//       one line "tab <left> <top> <right> <bottom>" per item of the window's
//       tab control, in screen pixels
//   window_tool text <class> <child class>
//       "text <text>" of the window's first descendant of that class
//   window_tool foreground <class>
//       brings the window to the foreground; exit code 2 when it could not
//       keep it for FOREGROUND_HOLD_MS within FOREGROUND_TIMEOUT_MS
// All in physical pixels, whatever the display's DPI.
// Exit code 1 when there is no such window or control.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

// Under Wine without a window manager, a window that was activated a moment
// ago can take the foreground back when its process catches up with the X
// server's focus events; the foreground only counts once it has held.
constexpr ULONGLONG FOREGROUND_HOLD_MS = 300;
constexpr ULONGLONG FOREGROUND_TIMEOUT_MS = 5000;
constexpr DWORD FOREGROUND_CHECK_MS = 50;

struct Search {
    int id;
    const char* className;
    HWND found;
};

BOOL CALLBACK matchDescendant(HWND window, LPARAM context)
{
    Search& search = *reinterpret_cast<Search*>(context);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    const bool match =
        search.className != nullptr ? std::strcmp(name, search.className) == 0 : GetDlgCtrlID(window) == search.id;
    if (!match)
        return TRUE;
    search.found = window;
    return FALSE;
}

// EnumChildWindows visits every descendant, the pages' controls included.
HWND findDescendant(HWND window, int id, const char* className)
{
    Search search{id, className, nullptr};
    EnumChildWindows(window, matchDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void printRect(const char* label, const RECT& rect)
{
    std::cout << label << " " << rect.left << " " << rect.top << " " << rect.right << " " << rect.bottom;
}

int closeWindow(HWND window, DWORD timeout)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
    const ULONGLONG start = GetTickCount64();
    while (IsWindow(window)) {
        if (GetTickCount64() - start > timeout)
            return 2;
        Sleep(10);
    }
    return 0;
}

int describeWindow(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    printRect("window", rect);
    std::cout << " client " << client.x << " " << client.y << " visible " << (IsWindowVisible(window) ? 1 : 0)
              << std::endl
              << "title " << title << std::endl;
    return 0;
}

int describeControl(HWND window, int id)
{
    const HWND control = findDescendant(window, id, nullptr);
    if (control == nullptr) {
        std::cerr << "no control " << id << std::endl;
        return 1;
    }
    RECT rect;
    GetWindowRect(control, &rect);
    // GetWindowTextA would give another process's window its caption only;
    // WM_GETTEXT asks the control, so a key list answers with its entry.
    char text[256] = {};
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    printRect("control", rect);
    const bool checked = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    std::cout << " " << (IsWindowVisible(control) ? 1 : 0) << " " << (IsWindowEnabled(control) ? 1 : 0) << " "
              << (checked ? 1 : 0) << " " << text << std::endl;
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    printRect("place", rect);
    std::cout << std::endl;
    return 0;
}

// TCM_GETITEMRECT writes through its pointer, which must therefore point
// into the tab control's own process.
int describeTabs(HWND window)
{
    const HWND tab = findDescendant(window, 0, WC_TABCONTROLA);
    if (tab == nullptr)
        return 1;
    DWORD processId = 0;
    GetWindowThreadProcessId(tab, &processId);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr)
        return 1;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    const int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        RECT rect{};
        SendMessageA(tab, TCM_GETITEMRECT, item, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
        MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        printRect("tab", rect);
        std::cout << std::endl;
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return 0;
}

int printText(HWND window, const char* childClass)
{
    const HWND child = findDescendant(window, 0, childClass);
    if (child == nullptr)
        return 1;
    char text[4096] = {};
    SendMessageA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    std::cout << "text " << text << std::endl;
    return 0;
}

// BM_CLICK presses a button without the pointer: a mouse button that a
// test holds down stays down, and stays over the window it was pressed in.
int clickButton(HWND window, int id)
{
    const HWND button = findDescendant(window, id, nullptr);
    if (button == nullptr)
        return 1;
    SendMessageA(button, BM_CLICK, 0, 0);
    return 0;
}

int bringToForeground(HWND window)
{
    const ULONGLONG start = GetTickCount64();
    ULONGLONG heldSince = start;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (GetForegroundWindow() != window) {
            SetForegroundWindow(window);
            heldSince = now;
        } else if (now - heldSince >= FOREGROUND_HOLD_MS) {
            return 0;
        }
        if (now - start >= FOREGROUND_TIMEOUT_MS)
            return 2;
        Sleep(FOREGROUND_CHECK_MS);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: window_tool close|find|control|click|tabs|text|foreground <class> [argument]" << std::endl;
        return 3;
    }
    // A process unaware of the DPI would be shown every window scaled to 96
    // DPI; the tests compare with what xdotool and the screenshots see.
    SetProcessDPIAware();
    const std::string command = argv[1];
    const HWND window = FindWindowA(argv[2], nullptr);
    if (window == nullptr) {
        std::cerr << "no window of class " << argv[2] << std::endl;
        return 1;
    }
    if (command == "close")
        return closeWindow(window, argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 10000);
    if (command == "find")
        return describeWindow(window);
    if (command == "control" && argc > 3)
        return describeControl(window, std::atoi(argv[3]));
    if (command == "click" && argc > 3)
        return clickButton(window, std::atoi(argv[3]));
    if (command == "tabs")
        return describeTabs(window);
    if (command == "text" && argc > 3)
        return printText(window, argv[3]);
    if (command == "foreground")
        return bringToForeground(window);
    std::cerr << "unknown command " << command << std::endl;
    return 3;
}
