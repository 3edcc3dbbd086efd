#pragma once
// The filter chain of a native window: filters see each message before the control does, the most
// recently added first; the first that consumes a message decides its result. A filter is owned by
// whoever added it and must be removed before it dies. Used on the window's thread only.
#include "platform/window/WinTypes.h"

class CQrnWindowProcFilter {
public:
    // Nonzero when the filter consumed the message; *result is then the message's result.
    virtual int Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;

protected:
    virtual ~CQrnWindowProcFilter() = default;
};

class CQrnWindowProcFilters {
public:
    CQrnWindowProcFilters() = default;
    CQrnWindowProcFilters(const CQrnWindowProcFilters&) = delete;
    CQrnWindowProcFilters& operator=(const CQrnWindowProcFilters&) = delete;
    ~CQrnWindowProcFilters() { Clear(); }

    // Pushed at the head; a filter already in the list is not added again.
    void Add(CQrnWindowProcFilter* filter);
    // Unlinks the first node holding the filter (null clears the list); true when one was removed.
    bool Remove(CQrnWindowProcFilter* filter);
    // Runs the chain from the head; nonzero (with *result set) when a filter consumed the message.
    // A null window handle runs nothing.
    int Run(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const;
    void Clear();
    bool IsEmpty() const noexcept { return head_ == nullptr; }

private:
    struct Node {
        CQrnWindowProcFilter* filter;
        Node* next;
    };
    const Node* Find(const CQrnWindowProcFilter* filter) const;

    Node* head_ = nullptr;
};
