#pragma once
#include <windows.h>

// The window procedures of the three pages, which turn their controls'
// notifications into changes of the KeyTable, and of every "Select" button,
// which keeps the keyboard away from the button while a capture runs, so
// that key capture sees every key.
LRESULT CALLBACK regularPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK modifiedPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK axisPulsePageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK selectButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The "Select" buttons' own procedure, kept when the first one is subclassed.
extern WNDPROC previousSelectButtonProc;
