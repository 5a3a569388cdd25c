#pragma once
#include "main_window_fixture.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "model/name_tables.h"
#include "ui/editor/editor_panel.h"
#include "ui/editor/key_capture.h"
#include "ui/editor/page_procedures.h"
#include "ui/main_window/program.h"
#include "ui/main_window/resource_ids.h"

// The real main window with its editor panel, worked as a user would: clicks
// go through the controls' own procedures, and messages are pumped as the
// program's message loop does (accelerators, then dialog navigation).
class EditorTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        // One main window per process in the program; here every test builds
        // a new one, so a capture a test left running must not carry over.
        captureState = CaptureState{};
        MainWindowTest::SetUp();
        accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ACCEL_MAIN));
    }

    void TearDown() override
    {
        MainWindowTest::TearDown();
        captureState = CaptureState{};
    }

    static SlotRow& row(SlotIndex slot) { return editorPanel.rows[slot]; }

    static std::string textOf(HWND control)
    {
        char text[300] = {};
        GetWindowTextA(control, text, sizeof text);
        return text;
    }

    static bool checked(HWND button) { return (SendMessageA(button, BM_GETSTATE, 0, 0) & BST_CHECKED) != 0; }

    static LRESULT selection(SlotIndex slot) { return SendMessageA(row(slot).keyList, CB_GETCURSEL, 0, 0); }

    static SlotIndex pageOf(SlotIndex slot) { return slot < 32 ? 0 : slot < 64 ? 1 : 2; }

    // The slot's page is brought up first, as a user would have to.
    void clickSelect(SlotIndex slot)
    {
        showPage(pageOf(slot));
        SendMessageA(row(slot).selectButton, BM_CLICK, 0, 0);
    }

    void click(HWND control) { SendMessageA(control, BM_CLICK, 0, 0); }

    // What a key list reports when the user picks an entry.
    void chooseInList(SlotIndex slot, int position)
    {
        SendMessageA(row(slot).keyList, CB_SETCURSEL, position, 0);
        SendMessageA(GetParent(row(slot).keyList), WM_COMMAND, MAKEWPARAM(row(slot).keyListId, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(row(slot).keyList));
    }

    // The user switches to tab index, which the tab control announces to
    // the main window.
    void switchTab(int index)
    {
        SendMessageA(editorPanel.tab, TCM_SETCURSEL, index, 0);
        NMHDR header{editorPanel.tab, static_cast<UINT_PTR>(editorPanel.tabId), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(window, WM_NOTIFY, editorPanel.tabId, reinterpret_cast<LPARAM>(&header));
    }

    // Whether the capture timer ticks on the main window: waits for a tick
    // and takes it out of the queue. A running timer ticks some 30 times a
    // second: one second leaves a busy machine ample room; a stopped one
    // never ticks.
    bool captureTimerTicks()
    {
        const DWORD start = GetTickCount();
        MSG tick;
        while (!PeekMessageA(&tick, window, WM_TIMER, WM_TIMER, PM_REMOVE)) {
            if (GetTickCount() - start > 1000)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, CAPTURE_PERIOD_MS, QS_TIMER);
        }
        return tick.wParam == CAPTURE_TIMER_ID;
    }

    // A key as the message loop would hand it on: through dialog navigation.
    void navigateWith(HWND target, WPARAM key)
    {
        MSG message{target, WM_KEYDOWN, key, 1, static_cast<DWORD>(GetMessageTime()), {}};
        if (!IsDialogMessageA(window, &message))
            DispatchMessageA(&message);
    }

    // The program's message loop without its end: accelerators, dialog
    // navigation, then dispatch, for as long as messages are waiting.
    void pumpMessages()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT)
                handleMessage(window, accelerators, message);
        }
    }

    // Pumps for at least the given time, so that the capture timer ticks.
    void pumpFor(DWORD milliseconds)
    {
        const DWORD start = GetTickCount();
        do {
            pumpMessages();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        } while (GetTickCount() - start < milliseconds);
        pumpMessages();
    }

    // Three periods of the capture timer: at least one tick after the input.
    void pumpTicks() { pumpFor(3 * CAPTURE_PERIOD_MS + 10); }

    // The main window shown and made the foreground window, so that real
    // keyboard input reaches its thread.
    bool bringToFront()
    {
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        SetActiveWindow(window);
        pumpFor(50);
        return GetForegroundWindow() == window && captureState.windowActive;
    }

    static void sendKeys(std::initializer_list<WORD> keys, bool up)
    {
        std::vector<INPUT> inputs;
        for (WORD key : keys) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
            input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(input);
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }

    // Keys go down in one input call, so that they meet the same tick.
    void pressKeys(std::initializer_list<WORD> keys)
    {
        sendKeys(keys, false);
        pumpTicks();
    }

    void releaseKeys(std::initializer_list<WORD> keys)
    {
        sendKeys(keys, true);
        pumpTicks();
    }

    void typeKey(WORD key)
    {
        pressKeys({key});
        releaseKeys({key});
    }

    HACCEL accelerators = nullptr;
};
