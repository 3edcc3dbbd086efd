#pragma once
// Helpers for the window core's message-sequence tests: a thread-safe message log, a test window
// class whose procedure records every message, and bounded message loops.
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <functional>
#include <mutex>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace window_test {

struct Entry {
    HWND hwnd;
    UINT message;
    bool operator==(const Entry&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Entry& e)
{
    return out << "(" << e.hwnd << ", 0x" << std::hex << e.message << std::dec << ")";
}

// Records (window, message) pairs; only messages in the watch set when one is given.
class MessageLog {
public:
    void Watch(std::set<UINT> messages)
    {
        std::lock_guard guard(mutex_);
        watch_ = std::move(messages);
    }
    void Add(HWND hwnd, UINT message)
    {
        std::lock_guard guard(mutex_);
        if (watch_.empty() || watch_.count(message))
            entries_.push_back(Entry{hwnd, message});
    }
    std::vector<Entry> Take()
    {
        std::lock_guard guard(mutex_);
        std::vector<Entry> out;
        out.swap(entries_);
        return out;
    }

private:
    std::mutex mutex_;
    std::set<UINT> watch_;
    std::vector<Entry> entries_;
};

MessageLog& Log();

// Per-message behaviour a test may install; returns true with *result set to answer itself.
using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)>;
void SetHandler(Handler handler);

// Records the message, asks the handler, else DefWindowProcW.
LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers a uniquely named recording class for the test and unregisters it afterwards.
class TestClass {
public:
    explicit TestClass(UINT style = 0, int extraBytes = 0, HBRUSH brush = nullptr);
    ~TestClass();
    LPCWSTR Name() const { return name_.c_str(); }
    HWND Create(LPCWSTR title, DWORD style, HWND parent = nullptr, int id = 0, DWORD exStyle = 0,
                RECT rect = RECT{10, 20, 210, 170}) const;

private:
    std::u16string name_;
};

// Pumps the calling thread's messages until done() or the time limit; false on time-out.
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 5000);
// Retrieves everything waiting (PeekMessageW with PM_REMOVE, dispatching), at most `limit` messages.
std::vector<MSG> DrainQueue(size_t limit = 1000);

}  // namespace window_test
