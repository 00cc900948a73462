#pragma once
// Driving the windows on the Windows API in tests: links that record what is sent and let the
// test hand datagrams in, fake adapters, the message loop run for a while, and the open message
// boxes.
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/counted_adapters.h"
#include "support/recording_link.h"
#include "ui/win32/find_window.h"
#include "ui/win32/win32_dispatcher.h"

namespace zk::win32::test {

using zk::test::CountedAdapters;
using zk::test::RecordingLink;
using zk::test::RecordingLinks;

// Runs the thread's messages until none is waiting.
void pump();
// Runs the thread's messages for `time`, or until `done` holds.
void pump_for(std::chrono::milliseconds time, const std::function<bool()>& done = {});

// The texts of the open message boxes of this thread, oldest first.
std::vector<std::string> message_box_texts();
// Closes every open message box with its button.
void close_message_boxes();

// The control's class name, as the system registered it.
std::string class_of(HWND control);
// The control's rectangle in its parent's client area.
RECT rect_in_parent(HWND control);
// The control's text (WM_GETTEXT), UTF-8.
std::string text_of(HWND control);
// Clicks the control with the mouse at its centre, as the operator would.
void click_at_centre(HWND control, POINT in_control);
// Selects a page of a tab control with a mouse click on its tab.
void click_tab(HWND tab, int page);
// Puts `text` on the clipboard.
void set_clipboard(std::wstring_view text);

// A dispatcher and a find window over recording links and fake adapters, in a temporary folder.
class WindowFixture : public ::testing::Test
{
protected:
    WindowFixture();
    ~WindowFixture() override;

    RecordingLink& find_link() { return *links.by_port.at(Ports{}.find_local); }
    RecordingLink& settings_link() { return *links.by_port.at(Ports{}.settings_local); }
    FindSetup setup();

    Win32Dispatcher dispatcher;
    RecordingLinks links;
    CountedAdapters adapters;
    AppState state;
    std::filesystem::path folder;
};

} // namespace zk::win32::test
