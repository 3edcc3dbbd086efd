#include "WindowTestSupport.h"

#include "platform/window/Paint.h"

#include <atomic>

namespace window_test {

namespace {
std::mutex g_handlerMutex;
Handler g_handler;
std::atomic<int> g_classCounter{0};
}  // namespace

MessageLog& Log()
{
    static MessageLog log;
    return log;
}

void SetHandler(Handler handler)
{
    std::lock_guard guard(g_handlerMutex);
    g_handler = std::move(handler);
}

LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Log().Add(hwnd, message);
    Handler handler;
    {
        std::lock_guard guard(g_handlerMutex);
        handler = g_handler;
    }
    LRESULT result = 0;
    if (handler && handler(hwnd, message, wParam, lParam, &result))
        return result;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TestClass::TestClass(UINT style, int extraBytes, HBRUSH brush)
{
    std::string name = "TabrixTest" + std::to_string(g_classCounter++);
    name_.assign(name.begin(), name.end());
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = RecordingProc;
    wc.cbWndExtra = extraBytes;
    wc.hbrBackground = brush;
    wc.lpszClassName = name_.c_str();
    RegisterClassExW(&wc);
}

TestClass::~TestClass()
{
    SetHandler(nullptr);
    UnregisterClassW(name_.c_str(), nullptr);
}

HWND TestClass::Create(LPCWSTR title, DWORD style, HWND parent, int id, DWORD exStyle, RECT rect) const
{
    return CreateWindowExW(exStyle, name_.c_str(), title, style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs)
{
    ULONGLONG deadline = GetTickCount64() + limitMs;
    while (!done()) {
        ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_PAINT)
                ValidateRect(msg.hwnd, nullptr);  // keep a stray paint from spinning the loop
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (done())
                return true;
        }
        WaitMessageTimeout(static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 50)));
    }
    return true;
}

std::vector<MSG> DrainQueue(size_t limit)
{
    std::vector<MSG> seen;
    MSG msg;
    while (seen.size() < limit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        seen.push_back(msg);
        if (msg.message == WM_QUIT)
            continue;
        DispatchMessageW(&msg);
    }
    return seen;
}

}  // namespace window_test
