#include "ui/CQrnWindowProcFilters.h"

void CQrnWindowProcFilters::Add(CQrnWindowProcFilter* filter)
{
    if (!filter)
        return;
    for (Node* n = head_; n; n = n->next)
        if (n->filter == filter)
            return;
    head_ = new Node{filter, head_};
}

bool CQrnWindowProcFilters::Remove(CQrnWindowProcFilter* filter)
{
    if (!filter) {
        bool any = head_ != nullptr;
        Clear();
        return any;
    }
    for (Node** link = &head_; *link; link = &(*link)->next) {
        if ((*link)->filter == filter) {
            Node* gone = *link;
            *link = gone->next;
            delete gone;
            return true;
        }
    }
    return false;
}

int CQrnWindowProcFilters::Run(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const
{
    if (!hwnd)
        return 0;
    // A filter may add or remove filters while it runs, itself included: the walk goes on from
    // the filter that was next before the call, if it is still in the list.
    for (const Node* n = head_; n;) {
        CQrnWindowProcFilter* nextFilter = n->next ? n->next->filter : nullptr;
        LRESULT answer = 0;
        if (n->filter->Filter(hwnd, message, wParam, lParam, &answer)) {
            if (result)
                *result = answer;
            return 1;
        }
        n = nextFilter ? Find(nextFilter) : nullptr;
    }
    return 0;
}

const CQrnWindowProcFilters::Node* CQrnWindowProcFilters::Find(const CQrnWindowProcFilter* filter) const
{
    for (const Node* n = head_; n; n = n->next)
        if (n->filter == filter)
            return n;
    return nullptr;
}

void CQrnWindowProcFilters::Clear()
{
    while (head_) {
        Node* gone = head_;
        head_ = gone->next;
        delete gone;
    }
}
