#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/menu.h"
#include "ui/main_window/program.h"
#include "ui/main_window/ui_font.h"

namespace {

struct MenuEntry {
    std::string text;
    UINT id;
    UINT type;
    UINT state;
    HMENU submenu;
};

std::vector<MenuEntry> entriesOf(HMENU menu)
{
    std::vector<MenuEntry> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[100] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        EXPECT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info));
        entries.push_back({text, info.wID, info.fType, info.fState, info.hSubMenu});
    }
    return entries;
}

// A command item: plain string, enabled, unchecked, no submenu.
void expectCommand(const MenuEntry& entry, const char* text, UINT id)
{
    EXPECT_EQ(entry.text, text);
    EXPECT_EQ(entry.id, id) << text;
    EXPECT_EQ(entry.type, static_cast<UINT>(MFT_STRING)) << text;
    EXPECT_EQ(entry.state & (MFS_DISABLED | MFS_CHECKED), 0u) << text;
    EXPECT_EQ(entry.submenu, nullptr) << text;
}

void expectPopup(const MenuEntry& entry, const char* text)
{
    EXPECT_EQ(entry.text, text);
    EXPECT_NE(entry.submenu, nullptr) << text;
}

LONG heightOf(HFONT font)
{
    LOGFONTA info{};
    EXPECT_EQ(GetObjectA(font, sizeof info, &info), static_cast<int>(sizeof info));
    return info.lfHeight;
}

}  // namespace

TEST_F(MainWindowTest, ClassIsRegisteredWithTheProgramsRecord)
{
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "CorvantaKeyPressEmulatorClass");

    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), MAIN_WINDOW_CLASS_NAME, &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(info.lpfnWndProc, &mainWindowProc);
    EXPECT_EQ(info.cbClsExtra, 0);
    EXPECT_EQ(info.cbWndExtra, 0);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(info.hbrBackground), 5u);
    EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_NE(info.hIcon, nullptr);
    EXPECT_NE(info.hIconSm, nullptr);
    EXPECT_EQ(info.lpszMenuName, nullptr);
}

TEST_F(MainWindowTest, WindowHasAFixedSizeFrameWithMinimizeBoxOnly)
{
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);

    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 655);
    EXPECT_EQ(outer.bottom - outer.top, 639);
}

TEST_F(MainWindowTest, CreationSetsTheHandlesAndTheFirstTitle)
{
    EXPECT_EQ(mainWindow, window);
    EXPECT_EQ(GetMenu(window), mainMenu);
    EXPECT_NE(uiFont, nullptr);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Not Connected");
}

TEST_F(MainWindowTest, CreationStartsWithoutAConnection)
{
    DestroyWindow(window);
    connectResult = 1;
    window = createMainWindow(GetModuleHandleA(nullptr), MAIN_WINDOW_CLASS_NAME);
    EXPECT_EQ(connectResult, 0);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Not Connected");
}

TEST(MainWindowMenu, BarHoldsFileConfigHelpInOrder)
{
    HMENU bar = buildMenu();
    const auto entries = entriesOf(bar);
    ASSERT_EQ(entries.size(), 3u);
    expectPopup(entries[0], "&File");
    expectPopup(entries[1], "&Config");
    expectPopup(entries[2], "&Help");

    const auto file = entriesOf(entries[0].submenu);
    ASSERT_EQ(file.size(), 6u);
    expectCommand(file[0], "&New\tCtrl-N", 100);
    expectCommand(file[1], "&Open\tCtrl-O", 101);
    expectCommand(file[2], "&Save\tCtrl-S", 102);
    expectCommand(file[3], "&Save As...", 103);
    EXPECT_EQ(file[4].type, static_cast<UINT>(MFT_SEPARATOR));
    expectCommand(file[5], "&Quit\tCtrl-Q", 104);

    const auto config = entriesOf(entries[1].submenu);
    ASSERT_EQ(config.size(), 3u);
    expectPopup(config[0], "&Run By Default");
    EXPECT_EQ(config[1].type, static_cast<UINT>(MFT_SEPARATOR));
    expectCommand(config[2], "Start with &Windows", 112);
    const auto runByDefault = entriesOf(config[0].submenu);
    ASSERT_EQ(runByDefault.size(), 2u);
    expectCommand(runByDefault[0], "&Enabled", 110);
    expectCommand(runByDefault[1], "&Disabled", 111);

    const auto help = entriesOf(entries[2].submenu);
    ASSERT_EQ(help.size(), 1u);
    expectCommand(help[0], "&About Corvanta Key Press Emulator", 120);

    DestroyMenu(bar);
}

TEST(MainWindowResources, AcceleratorTableHoldsCtrlNOSQ)
{
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(200));
    ASSERT_NE(table, nullptr);
    ACCEL entries[8] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table, entries, 8), 4);
    const struct {
        WORD key;
        WORD command;
    } expected[] = {{'N', 201}, {'O', 202}, {'S', 203}, {'Q', 204}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(entries[i].key, expected[i].key) << i;
        EXPECT_EQ(entries[i].cmd, expected[i].command) << i;
        EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), FVIRTKEY | FCONTROL) << i;
    }
    DestroyAcceleratorTable(table);
}

TEST(MainWindowResources, IconIsOne128PixelImageWith32Bits)
{
    HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(300), IMAGE_ICON, 0, 0, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    ASSERT_NE(info.hbmColor, nullptr);
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 128);
    EXPECT_EQ(colour.bmHeight, 128);
    EXPECT_EQ(colour.bmBitsPixel, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

TEST_F(MainWindowTest, CtrlQIsTranslatedIntoQuit)
{
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(200));
    BYTE saved[256];
    GetKeyboardState(saved);
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    keys[VK_LCONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG keyDown{window, WM_KEYDOWN, 'Q', 0x00100001, 0, {0, 0}};
    const int translated = TranslateAcceleratorA(window, table, &keyDown);
    SetKeyboardState(saved);
    DestroyAcceleratorTable(table);

    EXPECT_NE(translated, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST(MainWindowFont, HeightIsLimitedToTwelvePixelsEitherWay)
{
    LOGFONTA font = systemMessageFont(96);
    const struct {
        LONG given;
        LONG expected;
    } cases[] = {{15, 12}, {12, 12}, {-20, -12}, {-12, -12}, {-11, -11}, {0, 0}};
    for (const auto& c : cases) {
        font.lfHeight = c.given;
        HFONT created = createUiFont(font, 96);
        ASSERT_NE(created, nullptr);
        EXPECT_EQ(heightOf(created), c.expected) << c.given;
        DeleteObject(created);
    }
}

TEST(MainWindowFont, SystemMessageFontHasAFace)
{
    EXPECT_NE(systemMessageFont(96).lfFaceName[0], '\0');
}

TEST_F(MainWindowTest, FontLivesAsLongAsTheWindow)
{
    HFONT font = uiFont;
    const LONG height = heightOf(font);
    EXPECT_GE(height, -12);
    EXPECT_LE(height, 12);
    DestroyWindow(window);
    EXPECT_EQ(GetObjectType(font), 0u);
}

namespace {

LRESULT CALLBACK refuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_CREATE ? -1 : DefWindowProcA(window, message, wParam, lParam);
}

// The real procedure, plus a close request queued behind the creation so
// that the message loop has something to end on.
LRESULT CALLBACK closeAfterCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = mainWindowProc(window, message, wParam, lParam);
    if (message == WM_CREATE)
        PostMessageA(window, WM_CLOSE, 0, 0);
    return result;
}

// A quit message queued in advance ends a message loop that should never
// have started, so a wrong path fails the test instead of hanging it.
constexpr int STRAY_LOOP_EXIT = 7;

}  // namespace

TEST(MainWindowProgram, FailsAtOnceWhenTheClassCannotBeRegistered)
{
    const char* name = "MainWindowTestTakenClass";
    WNDCLASSEXA taken{};
    taken.cbSize = sizeof taken;
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(nullptr);
    taken.lpszClassName = name;
    ASSERT_NE(RegisterClassExA(&taken), 0);

    PostQuitMessage(STRAY_LOOP_EXIT);
    EXPECT_EQ(runProgram(GetModuleHandleA(nullptr), SW_HIDE, refuseCreation, name), EXIT_NO_WINDOW_CLASS);
    EXPECT_EQ(FindWindowA(name, nullptr), nullptr);

    drainMessageQueue();
    UnregisterClassA(name, GetModuleHandleA(nullptr));
}

TEST(MainWindowProgram, FailsWithoutEnteringTheLoopWhenTheWindowCannotBeCreated)
{
    const char* name = "MainWindowTestRefusingClass";
    PostQuitMessage(0);
    const int exitCode = runProgram(GetModuleHandleA(nullptr), SW_HIDE, refuseCreation, name);
    EXPECT_NE(exitCode, 0);
    EXPECT_EQ(exitCode, EXIT_NO_MAIN_WINDOW);

    drainMessageQueue();
    UnregisterClassA(name, GetModuleHandleA(nullptr));
}

TEST(MainWindowProgram, RunsUntilTheWindowIsClosedAndReturnsZero)
{
    const char* name = "MainWindowTestClosingClass";
    usePrompts(nullptr);
    documentState = DocumentState{};
    EXPECT_EQ(runProgram(GetModuleHandleA(nullptr), SW_HIDE, closeAfterCreation, name), 0);
    EXPECT_FALSE(IsWindow(mainWindow));

    drainMessageQueue();
    UnregisterClassA(name, GetModuleHandleA(nullptr));
}
