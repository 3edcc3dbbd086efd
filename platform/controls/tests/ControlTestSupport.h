#pragma once
// Helpers for the control classes' message-sequence tests: a parent window that records the
// notifications it receives, and a subclass that records a control's own messages the way a
// control library sits in front of a class (and may answer reflected messages).
#include "platform/controls/ControlClasses.h"
#include "platform/window/tests/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace control_test {

using window_test::Entry;
using window_test::Log;

// What the parent received: WM_COMMAND (code = high word of wParam) or WM_NOTIFY (code = NMHDR::code).
struct Notification {
    UINT message;
    HWND from;
    UINT code;
    UINT_PTR id;
    bool operator==(const Notification&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Notification& n);

// Records every message of a window in the shared log, then offers it to `handler` and finally
// to the class's own procedure.
class Subclass {
public:
    using Handler = std::function<bool(UINT, WPARAM, LPARAM, LRESULT*)>;
    explicit Subclass(HWND hwnd, Handler handler = nullptr);
    ~Subclass();
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;
    HWND hwnd;
    WNDPROC original;
    Handler handler;
};

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A visible child control of the parent.
    HWND CreateControl(LPCWSTR className, LPCWSTR text, DWORD style, int id, RECT rect = RECT{10, 10, 110, 40},
                       DWORD exStyle = 0);
    // Posts the messages as desktop input for the window and runs the queue.
    void Input(HWND hwnd, std::initializer_list<MSG> messages);
    void Click(HWND hwnd, int x, int y, int upX, int upY);
    void Click(HWND hwnd, int x = 5, int y = 5) { Click(hwnd, x, y, x, y); }
    std::vector<Notification> TakeNotifications();
    std::vector<UINT> TakeCommandCodes();

    window_test::TestClass parentClass;
    HWND parent = nullptr;
    std::vector<Notification> notifications;
    // Called for every message the parent gets before it is recorded; true answers it.
    std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)> parentHandler;
};

MSG Message(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
LPARAM Point(int x, int y);

}  // namespace control_test
