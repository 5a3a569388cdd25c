#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>
#include <commdlg.h>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "documents/document_state.h"
#include "documents/key_file.h"
#include "documents/settings.h"
#include "engine/emulation_worker.h"
#include "engine/windows_output_ports.h"
#include "fake_device_api.h"
#include "model/key_table.h"
#include "ui/main_window/main_window_class.h"
#include "ui/main_window/main_window_proc.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/output_control.h"
#include "ui/main_window/prompts.h"
#include "unit/temp_folder.h"

// Answers message boxes from a script (IDCANCEL once it runs out) and the
// file dialogs with scripted paths (cancelled once they run out), and keeps
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
    // The record as the dialog received it, its filter list up to the
    // double NUL and the buffer's contents on entry.
    struct ShownDialog {
        OPENFILENAMEA record;
        std::string filter;
        std::string initialFile;
    };

    std::deque<int> answers;
    std::deque<std::string> openAnswers;
    std::deque<std::string> saveAnswers;
    std::vector<Shown> shown;
    std::vector<ShownIndirect> shownIndirect;
    std::vector<ShownDialog> openDialogs;
    std::vector<ShownDialog> saveDialogs;

    int messageBox(HWND owner, const char* text, const char* caption, UINT type) override
    {
        shown.push_back({owner, text, caption, type});
        return nextAnswer();
    }
    int messageBoxIndirect(const MSGBOXPARAMSA& params) override
    {
        shownIndirect.push_back({params, params.lpszText, params.lpszCaption});
        return nextAnswer();
    }
    BOOL getOpenFileName(OPENFILENAMEA& record) override { return choose(record, openAnswers, openDialogs); }
    BOOL getSaveFileName(OPENFILENAMEA& record) override { return choose(record, saveAnswers, saveDialogs); }

private:
    int nextAnswer()
    {
        if (answers.empty())
            return IDCANCEL;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    static std::string filterList(const char* filter)
    {
        std::string list;
        if (!filter)
            return list;
        for (const char* entry = filter; *entry; entry += std::strlen(entry) + 1)
            list.append(entry).push_back('|');
        return list;
    }

    static BOOL choose(OPENFILENAMEA& record, std::deque<std::string>& answers, std::vector<ShownDialog>& log)
    {
        log.push_back({record, filterList(record.lpstrFilter), record.lpstrFile ? record.lpstrFile : ""});
        if (answers.empty())
            return FALSE;
        const std::string path = answers.front();
        answers.pop_front();
        if (path.size() >= record.nMaxFile)
            return FALSE;
        std::memcpy(record.lpstrFile, path.c_str(), path.size() + 1);
        return TRUE;
    }
};

// Drops whatever a test left in the thread's queue, the quit message that a
// destroyed main window posts included.
inline void drainMessageQueue()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// Output in tests never reaches the desktop's keyboard; the keys the worker
// sends are kept instead, "+65" for a key-down of code 65, "-65" for its key-up.
inline std::mutex sentKeysLock;
inline std::vector<std::string> sentKeyLog;

inline UINT WINAPI swallowInput(UINT count, INPUT* records, int)
{
    std::lock_guard<std::mutex> hold(sentKeysLock);
    for (UINT i = 0; i < count; ++i)
        sentKeyLog.push_back((records[i].ki.dwFlags & KEYEVENTF_KEYUP ? "-" : "+") + std::to_string(records[i].ki.wVk));
    return count;
}

inline std::vector<std::string> sentKeys()
{
    std::lock_guard<std::mutex> hold(sentKeysLock);
    return sentKeyLog;
}

// The configuration file the program keeps beside the running executable.
inline std::string settingsFilePath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + SETTINGS_FILE_NAME;
}

// The configuration file's bytes: the settings word, then the last file's
// length and name.
inline Bytes settingsBytes(bool continuousSelect, bool runByDefault, const std::string& lastFile)
{
    Bytes bytes;
    appendLittleEndian32(bytes, (continuousSelect ? 1u : 0u) | (runByDefault ? 2u : 0u));
    appendLittleEndian32(bytes, static_cast<uint32_t>(lastFile.size()));
    appendText(bytes, lastFile);
    return bytes;
}

// The real main window, created in the test process as WinMain creates it
// (without the message loop), with scripted message boxes and dialogs, a
// fake device list (empty unless the test fills it) under the output
// control, and no configuration file: a configuration already beside the
// executable is set aside for the test and put back afterwards. Each test
// has a folder of its own for key code files.
class MainWindowTest : public TempFolderTest {
protected:
    static void SetUpTestSuite()
    {
        static const bool registered = [] {
            InitCommonControls();
            return registerMainWindowClass(GetModuleHandleA(nullptr), mainWindowProc, MAIN_WINDOW_CLASS_NAME);
        }();
        ASSERT_TRUE(registered);
    }

    void SetUp() override
    {
        TempFolderTest::SetUp();
        keptSettings = fileExists(settingsFilePath());
        if (keptSettings) {
            settingsBefore = readBytes(settingsFilePath());
            std::remove(settingsFilePath().c_str());
        }
        documentState = DocumentState{};
        sentKeyLog.clear();
        usePrompts(&prompts);
        useOutputDevice(&link, &worker);
        window = createMainWindow(GetModuleHandleA(nullptr), MAIN_WINDOW_CLASS_NAME);
        ASSERT_NE(window, nullptr);
    }

    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
        worker.stop();
        useOutputDevice(nullptr, nullptr);
        usePrompts(nullptr);
        documentState = DocumentState{};
        drainMessageQueue();
        std::remove(settingsFilePath().c_str());
        if (keptSettings)
            writeBytes(settingsFilePath(), settingsBefore);
        TempFolderTest::TearDown();
    }

    // A new window over the same fakes, after the test prepared the
    // configuration file or the device list; documentPath as WinMain passes
    // the command line's file.
    void recreateWindow(const char* documentPath = nullptr)
    {
        if (IsWindow(window))
            DestroyWindow(window);
        drainMessageQueue();
        window = createMainWindow(GetModuleHandleA(nullptr), MAIN_WINDOW_CLASS_NAME, documentPath);
        ASSERT_NE(window, nullptr);
    }

    std::string title() const
    {
        char text[300] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    void sendCommand(WORD id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    bool menuChecked(UINT id) const { return (GetMenuState(mainMenu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

    void plugHandleIn()
    {
        deviceApi.setInterfaces({foreignDevice("\\\\?\\hid#mouse"), joystickHandle("\\\\?\\hid#handle")});
    }

    void unplugHandle() { deviceApi.setInterfaces({foreignDevice("\\\\?\\hid#mouse")}); }

    // A key code file in the test's folder whose first button has this key.
    std::string keyFileWithFirstButton(const std::string& name, uint16_t code)
    {
        KeyTable table;
        table.setSlotKey(0, code);
        const std::string file = path(name);
        EXPECT_TRUE(writeKeyFile(file, table));
        return file;
    }

    HWND window = nullptr;
    ScriptedPrompts prompts;
    FakeDeviceApi deviceApi;
    DeviceLink link{deviceApi};
    WindowsOutputPorts ports{link, swallowInput};
    EmulationWorker worker{ports, keyTable};

private:
    bool keptSettings = false;
    Bytes settingsBefore;
};
