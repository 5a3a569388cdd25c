#pragma once
#include <windows.h>

#include "model/key_table.h"

constexpr UINT_PTR CAPTURE_TIMER_ID = 400;
constexpr UINT CAPTURE_PERIOD_MS = 30;
// Codes 0..6 (no key, the mouse buttons, VK_CANCEL) are never captured.
constexpr int FIRST_CAPTURABLE_KEY = 7;

// Key capture: while a "Select" button is pressed, the next key that goes
// down becomes its slot's key.
struct CaptureState {
    bool capturing = false;
    SlotIndex captureSlot = 0;
    bool previousDown[256] = {};
    bool windowActive = false;
};

extern CaptureState captureState;

void startCapture();
void stopCapture();
void advanceSlot();
// One look at the keyboard, on the capture timer's WM_TIMER.
void captureTick();
void syncSelectButtons();
// The main window's WM_APP: assign lParam's key to slot wParam, refresh and
// synchronise the "Select" buttons; lParam 0 only synchronises.
LRESULT onKeyCaptured(WPARAM wParam, LPARAM lParam);
// The main window's WM_ACTIVATE.
void onActivate(WPARAM wParam);
// The "Continuous Select" box was clicked.
void onContinuousSelectClicked();
// "Clear All" was clicked.
void onClearAll();
