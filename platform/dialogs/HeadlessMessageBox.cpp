// The message box as a window of the calling thread.
#include "platform/dialogs/HeadlessMessageBox.h"

#include "platform/dialogs/MessageBox.h"
#include "platform/controls/ButtonControl.h"
#include "platform/controls/ControlClasses.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "platform/window/WindowGeometry.h"

#include <algorithm>
#include <mutex>
#include <span>
#include <string>

namespace {

constexpr const char16_t* kBoxClass = kMessageBoxClass;
constexpr const char16_t* kTextClass = kMessageTextClass;
constexpr const char16_t* kIconClass = kMessageIconClass;

// The box's face in client pixels: the icon at the top left, the text beside it, the buttons in a
// row at the bottom right.
constexpr int kBoxWidth = 440;
constexpr int kBoxHeight = 220;
constexpr int kMargin = 20;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 8;

struct BoxState {
    UINT type = 0;
    bool done = false;
    int answer = 0;
    const std::function<void(std::u16string_view)>* onText = nullptr;
};

BoxState* StateOf(HWND box)
{
    return reinterpret_cast<BoxState*>(GetWindowLongPtrW(box, 0));
}

void Finish(BoxState& state, int answer)
{
    if (!state.done) {
        state.done = true;
        state.answer = answer;
    }
}

// An answer given by a message another thread sent arrives inside the loop's wait, which runs sent
// messages without returning; a message to the box ends that wait (and dies with the box).
void FinishFromMessage(HWND box, BoxState& state, int answer)
{
    Finish(state, answer);
    PostMessageW(box, WM_NULL, 0, 0);
}

LRESULT BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    BoxState* state = StateOf(hwnd);
    if (state && message == WM_COMMAND && IsMessageBoxAnswer(state->type, LOWORD(wParam))) {
        FinishFromMessage(hwnd, *state, LOWORD(wParam));
        return 0;
    }
    if (message == WM_CLOSE) {
        // The loop destroys the box once it has its answer; a box without a way to close keeps open.
        if (state && CloseMessageBoxAnswer(state->type) != 0)
            FinishFromMessage(hwnd, *state, CloseMessageBoxAnswer(state->type));
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT TextProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_SETTEXT && result) {
        BoxState* state = StateOf(GetParent(hwnd));
        if (state && state->onText && *state->onText) {
            auto text = reinterpret_cast<LPCWSTR>(lParam);
            (*state->onText)(text ? std::u16string_view(text) : std::u16string_view());
        }
    }
    return result;
}

void RegisterClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSEXW box{};
        box.cbSize = sizeof(box);
        box.lpfnWndProc = BoxProc;
        box.cbWndExtra = sizeof(LONG_PTR);
        box.lpszClassName = kBoxClass;
        RegisterClassExW(&box);
        WNDCLASSEXW text{};
        text.cbSize = sizeof(text);
        text.lpfnWndProc = TextProc;
        text.lpszClassName = kTextClass;
        RegisterClassExW(&text);
        WNDCLASSEXW icon{};
        icon.cbSize = sizeof(icon);
        icon.lpfnWndProc = DefWindowProcW;
        icon.lpszClassName = kIconClass;
        RegisterClassExW(&icon);
        RegisterStandardControlClasses();
    });
}

// The icon's name as its window text, which a presenter turns into the desktop's picture.
const char16_t* IconName(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR: return u"error";
    case MB_ICONQUESTION: return u"question";
    case MB_ICONWARNING: return u"warning";
    case MB_ICONINFORMATION: return u"information";
    default: return nullptr;
    }
}

HWND CreateChild(HWND box, const char16_t* className, const char16_t* text, DWORD style, int x, int y, int width,
                 int height, int id)
{
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, box,
                           reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr, nullptr);
}

// The text control, the icon and one push button per answer (a click sends the box WM_COMMAND
// with the answer); false when the text control could not be made.
bool CreateFace(HWND box, const MessageBoxRequest& request)
{
    RECT client{};
    GetClientRect(box, &client);
    int textLeft = kMargin;
    if (const char16_t* icon = IconName(request.type)) {
        CreateChild(box, kIconClass, icon, 0, kMargin, kMargin, kIconSize, kIconSize, 0);
        textLeft += kIconSize + kMargin / 2;
    }
    const int buttonTop = client.bottom - kMargin / 2 - kButtonHeight;
    HWND text = CreateChild(box, kTextClass, u"", 0, textLeft, kMargin, client.right - kMargin - textLeft,
                            buttonTop - 2 * kMargin, MESSAGE_BOX_TEXT_ID);
    if (!text)
        return false;
    SetWindowTextW(text, request.text.c_str());
    const std::span<const int> answers = MessageBoxButtons(request.type);
    const int defaultAnswer = DefaultMessageBoxAnswer(request.type);
    int x = client.right - kMargin / 2 - static_cast<int>(answers.size()) * (kButtonWidth + kButtonGap) + kButtonGap;
    for (int answer : answers) {
        const DWORD kind = answer == defaultAnswer ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        CreateChild(box, WC_BUTTONW, MessageBoxButtonLabel(answer), kind | WS_TABSTOP, x, buttonTop, kButtonWidth,
                    kButtonHeight, answer);
        x += kButtonWidth + kButtonGap;
    }
    return true;
}

// Runs the box's loop until it has an answer; returns the WM_QUIT code met, if any.
std::optional<int> RunLoop(HWND box, BoxState& state, std::optional<ULONGLONG> deadline,
                           std::optional<ULONGLONG> pressAt, const std::optional<HeadlessBoxScript>& script,
                           bool* timedOut)
{
    for (;;) {
        MSG msg;
        while (!state.done && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                Finish(state, DefaultMessageBoxAnswer(state.type));
                return static_cast<int>(msg.wParam);
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (state.done)
            return std::nullopt;
        if (!IsWindow(box)) {
            Finish(state, DefaultMessageBoxAnswer(state.type));
            return std::nullopt;
        }
        ULONGLONG now = GetTickCount64();
        if (pressAt && now >= *pressAt) {
            Finish(state, script->answer);
            return std::nullopt;
        }
        if (deadline && now >= *deadline) {
            *timedOut = true;
            Finish(state, MB_TIMEDOUT);
            return std::nullopt;
        }
        ULONGLONG until = std::min(deadline.value_or(~0ULL), pressAt.value_or(~0ULL));
        WaitMessageTimeout(until == ~0ULL ? INFINITE_WAIT : static_cast<DWORD>(until - now));
    }
}

}  // namespace

HeadlessBoxResult RunHeadlessMessageBox(const MessageBoxRequest& request,
                                        std::optional<HeadlessBoxScript> script,
                                        const std::function<void(std::u16string_view)>& onText)
{
    RegisterClasses();
    BoxState state;
    state.type = request.type;
    state.onText = &onText;
    // Centred on the desktop, as the desktop centres a box.
    const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - kBoxWidth) / 2);
    const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - kBoxHeight) / 2);
    HWND box = CreateWindowExW(WS_EX_DLGMODALFRAME, kBoxClass, request.caption.c_str(),
                               WS_POPUP | WS_CAPTION | WS_SYSMENU, x, y, kBoxWidth, kBoxHeight, request.owner,
                               nullptr, nullptr, nullptr);
    if (!box)
        return {};
    SetWindowLongPtrW(box, 0, reinterpret_cast<LONG_PTR>(&state));
    if (!CreateFace(box, request)) {
        DestroyWindow(box);
        return {};
    }
    bool ownerWasEnabled = request.owner && !EnableWindow(request.owner, FALSE);
    ShowWindow(box, SW_SHOW);

    ULONGLONG start = GetTickCount64();
    std::optional<ULONGLONG> deadline;
    if (request.HasTimeout())
        deadline = start + request.timeoutMs;
    std::optional<ULONGLONG> pressAt;
    if (script)
        pressAt = start + script->afterMs;
    bool timedOut = false;
    std::optional<int> quit = RunLoop(box, state, deadline, pressAt, script, &timedOut);

    if (ownerWasEnabled)
        EnableWindow(request.owner, TRUE);
    if (IsWindow(box)) {
        SetWindowLongPtrW(box, 0, 0);
        DestroyWindow(box);
    }
    if (quit)
        PostQuitMessage(*quit);
    return HeadlessBoxResult{state.answer, timedOut};
}
