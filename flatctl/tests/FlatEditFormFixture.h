// A dialog form for the flat edit's Wine tests that run under the application's real message
// loop: flat edits added to it, keystrokes sent as real input.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>

#include "flatctl/tests/RealInput.h"
#include "flatctl/win32/FlatEdit.h"
#include "framework/win32/Application.h"
#include "framework/win32/Form.h"

class FlatEditFormFixture : public testing::Test {
  protected:
    void SetUp() override {
        form = TComponent::Create<TForm>(&app);
        form->SetBorderStyle(bsDialog);
        form->SetCaption(u"Flat edit");
        form->SetClientSize(445, 200);
    }

    // A flat, unthemed edit on the form.
    template <class Edit = TFlatEdit> Edit* AddEdit(int left, int width = 193) {
        auto* e = TComponent::Create<Edit>(form);
        e->SetParent(form);
        e->SetBounds(left, 50, width, 24);
        e->SetFlat(true);
        e->SetThemeMode(ttmNone);
        return e;
    }
    // Shows the form and waits until it is the foreground window, which the platform's
    // input goes to (on a busy machine the window manager of Wine takes a while).
    void ShowForm() {
        form->Show();
        SetForegroundWindow(form->Handle());
        const DWORD end = GetTickCount() + 3000;
        while (GetForegroundWindow() != form->Handle() && GetTickCount() < end)
            Pump(20);
        Pump(150);
    }
    // Runs the application's own loop for a while.
    void Pump(int ms) {
        const DWORD end = GetTickCount() + DWORD(ms);
        while (GetTickCount() < end) {
            app.ProcessMessages();
            Sleep(1);
        }
    }
    // Presses `vk` with the modifiers held, and lets the program take it.
    void Stroke(WORD vk, std::initializer_list<WORD> modifiers = {}) {
        SendKey(vk, modifiers);
        Pump(60);
    }

    TApplication app;
    TForm* form = nullptr;
};
