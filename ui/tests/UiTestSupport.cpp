#include "UiTestSupport.h"

#include "platform/controls/ControlClasses.h"
#include "platform/window/Clock.h"
#include "platform/window/PresenterHook.h"
#include "runtime/Unicode.h"
#include "ui/PreTranslate.h"

#include <cstdio>

namespace ui_test {

std::string Utf8(std::u16string_view text) { return Utf16ToUtf8(text); }

std::string Hex(uint32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%X", value);
    return buffer;
}

EventOwner::EventOwner() : guard(new CQrnEventObjectPointer(this)) {}

EventOwner::~EventOwner() { guard->BeginOwnerTeardown(); }

void EventOwner::BindWindowMessage(CQrnWinControl& control, const char* name)
{
    names.push_back(name);
    control.BindEvent(control.WindowMessage, &EventOwner::RecordMessage, guard, static_cast<uint32_t>(names.size() - 1));
}

std::vector<std::string> EventOwner::Take()
{
    std::vector<std::string> out;
    out.swap(log);
    return out;
}

std::string EventOwner::Arg(rg_quarn_base::rg_WenBenShuZuLei* paths)
{
    std::string joined;
    for (int64_t i = 0; paths && i < paths->GetCount(); ++i)
        joined += (i ? "|" : "") + Utf16ToUtf8(paths->GetAt(i));
    return joined;
}

int32_t EventOwner::Note(uint32_t user, std::string entry)
{
    log.push_back(entry);
    auto it = answers.find(names[user]);
    const int32_t answer = it == answers.end() ? 0 : it->second;
    if (onEvent) {
        // The hook may delete this owner: nothing of it is touched afterwards.
        auto hook = onEvent;
        hook(entry);
    }
    return answer;
}

int32_t EventOwner::RecordMessage(CQrnObject* owner, CQrnObject*, uint32_t user, HWND, UINT message, WPARAM, LPARAM,
                                  MsgRecord*)
{
    auto* self = static_cast<EventOwner*>(owner);
    if (!self->watchedMessages.empty()) {
        bool watched = false;
        for (UINT m : self->watchedMessages)
            watched = watched || m == message;
        if (!watched)
            return 0;
    }
    return self->Note(user, self->names[user] + " " + Hex(message));
}

int Pump(int limit)
{
    MSG msg{};
    int n = 0;
    while (n < limit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            break;
        ++n;
        if (PreTranslateLibraryMessage(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return n;
}

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs)
{
    const ULONGLONG end = GetTickCount64() + limitMs;
    while (!done()) {
        if (GetTickCount64() >= end)
            return false;
        Pump(100);
        if (!done())
            WaitMessageTimeout(10);
    }
    return true;
}

void UiTest::SetUp()
{
    RegisterStandardControlClasses();
    SetDesktopSize(1920, 1080);
    host = std::make_unique<rg_quarn_MFCJieMian_base::rg_ZuJianBuJuQi>();
    WinCreateInfo info;
    info.x = 0;
    info.y = 0;
    info.width = 800;
    info.height = 600;
    ASSERT_EQ(host->Create(info), 1);
    hostWindow = host->GetSafeHwnd();
}

void UiTest::TearDown()
{
    host.reset();
    Pump();
    for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU})
        SetKeyDown(static_cast<UINT>(key), false);
}

WinCreateInfo UiTest::ChildRecord(int x, int y, int width, int height, int id)
{
    WinCreateInfo info;
    info.parentNative = host->GetNative();
    info.parentControl = host.get();
    info.x = x;
    info.y = y;
    info.width = width;
    info.height = height;
    info.id = id;
    return info;
}

}  // namespace ui_test
