#pragma once
// Helpers for the control library's message-sequence tests: an owner object whose handlers record
// every event they receive (name and arguments) and answer what the test asks, a fixture with a
// host window, and bounded message pumps.
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "runtime/CQrnEventObjectPointer.h"
#include "runtime/TextArrays.h"
#include "ui/CQrnWinControl.h"
#include "ui/rg_ZuJianBuJuQi.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ui_test {

using rg_quarn_MFCJieMian_base::CQrnWinControl;

std::string Utf8(std::u16string_view text);
std::string Hex(uint32_t value);

class EventOwner : public CQrnObject {
public:
    EventOwner();
    ~EventOwner() override;

    // Binds the event to a recording handler under the given name.
    template <class... Args>
    void Bind(CQrnWinControl& control, EventBinding<Args...>& binding, const char* name)
    {
        names.push_back(name);
        control.BindEvent(binding, &EventOwner::Record<Args...>, guard, static_cast<uint32_t>(names.size() - 1));
    }
    void BindWindowMessage(CQrnWinControl& control, const char* name = "WindowMessage");

    std::vector<std::string> Take();

    CQrnEventObjectPointer* guard;
    std::vector<std::string> names;
    std::vector<std::string> log;
    // The answer of a handler, by event name (0 when not given).
    std::map<std::string, int32_t> answers;
    // Runs after an event was recorded (entry as in the log), before the handler answers.
    std::function<void(const std::string&)> onEvent;
    // WindowMessage entries only for these messages (all when empty).
    std::vector<UINT> watchedMessages;

private:
    static std::string Arg(int32_t v) { return std::to_string(v); }
    static std::string Arg(uint16_t v) { return std::to_string(v); }
    static std::string Arg(CQrnObject* o) { return o ? "object" : "null"; }
    static std::string Arg(rg_quarn_base::rg_WenBenShuZuLei* paths);

    int32_t Note(uint32_t user, std::string entry);

    template <class... Args>
    static int32_t Record(CQrnObject* owner, CQrnObject*, uint32_t user, Args... args)
    {
        auto* self = static_cast<EventOwner*>(owner);
        std::string entry = self->names[user];
        ((entry += " " + Arg(args)), ...);
        return self->Note(user, std::move(entry));
    }
    static int32_t RecordMessage(CQrnObject* owner, CQrnObject*, uint32_t user, HWND, UINT message, WPARAM,
                                 LPARAM, MsgRecord*);
};

// Runs what is waiting in the calling thread's queue (at most `limit` messages) as the
// application's loop does, with the library's pre-translation.
int Pump(int limit = 10000);
// Pumps until done() or the time limit; false on time-out.
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 5000);

class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A visible top-level layouter at 0, 0, 800 x 600 that hosts the controls under test.
    std::unique_ptr<rg_quarn_MFCJieMian_base::rg_ZuJianBuJuQi> host;
    HWND hostWindow = nullptr;
    // A record for a child of the host.
    WinCreateInfo ChildRecord(int x, int y, int width, int height, int id = 100);
};

}  // namespace ui_test
