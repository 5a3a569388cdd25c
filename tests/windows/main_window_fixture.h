#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>
#include <deque>
#include <string>
#include <vector>

#include "documents/document_state.h"
#include "ui/main_window/main_window_class.h"
#include "ui/main_window/main_window_proc.h"
#include "ui/main_window/prompts.h"

// Answers message boxes from a script (IDCANCEL once it runs out) and keeps
// copies of what each one showed.
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        HWND owner;
        std::string text;
        std::string caption;
        UINT type;
    };
    struct ShownIndirect {
        MSGBOXPARAMSA params;
        std::string text;
        std::string caption;
    };

    std::deque<int> answers;
    std::vector<Shown> shown;
    std::vector<ShownIndirect> shownIndirect;

    int messageBox(HWND owner, const char* text, const char* caption, UINT type) override {
        shown.push_back({owner, text, caption, type});
        return nextAnswer();
    }
    int messageBoxIndirect(const MSGBOXPARAMSA& params) override {
        shownIndirect.push_back({params, params.lpszText, params.lpszCaption});
        return nextAnswer();
    }

private:
    int nextAnswer() {
        if (answers.empty()) return IDCANCEL;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Drops whatever a test left in the thread's queue, the quit message that a
// destroyed main window posts included.
inline void drainMessageQueue() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
}

// The real main window, created in the test process as WinMain creates it
// (without the message loop), with scripted message boxes and an unnamed,
// unmodified document.
class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static const bool registered = [] {
            InitCommonControls();
            return registerMainWindowClass(GetModuleHandleA(nullptr), mainWindowProc, MAIN_WINDOW_CLASS_NAME);
        }();
        ASSERT_TRUE(registered);
    }

    void SetUp() override {
        documentState = DocumentState{};
        usePrompts(&prompts);
        window = createMainWindow(GetModuleHandleA(nullptr), MAIN_WINDOW_CLASS_NAME);
        ASSERT_NE(window, nullptr);
    }

    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
        usePrompts(nullptr);
        documentState = DocumentState{};
        drainMessageQueue();
    }

    std::string title() const {
        char text[300] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    HWND window = nullptr;
    ScriptedPrompts prompts;
};
