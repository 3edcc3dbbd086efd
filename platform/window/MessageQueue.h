#pragma once
// Per-thread message queues. A retrieval call first runs every message other threads sent to the
// thread's windows, then returns posted messages (oldest first), WM_QUIT, input, a synthesised
// WM_PAINT and a synthesised WM_TIMER, in that order. A send to another thread's window blocks the
// sender until the owner thread has run it; while blocked, the sender runs what others send to it.
// Thread safety: Post*, Send* and PostThreadMessageW from any thread; Get/Peek/Wait/Dispatch and
// PostQuitMessage act on the calling thread's own queue.
#include "platform/window/WinTypes.h"

#include <functional>

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// 0 when the time ran out before the receiver picked the message up (it is then cancelled) or the
// window or its thread went away; a receiver already running it completes on its own.
LRESULT SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                            UINT timeoutMs, DWORD_PTR* result);
BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// 0 for WM_QUIT, -1 for an invalid window filter, nonzero otherwise. hwnd null: the thread's
// windows and thread messages; (HWND)-1: thread messages only.
BOOL GetMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);

// Blocks until the calling thread has something to retrieve (running sent messages meanwhile).
BOOL WaitMessage();
// The same, for at most the given milliseconds; TRUE when something is ready.
BOOL WaitMessageTimeout(DWORD milliseconds);
// Runs the calling thread's messages (translated and dispatched, WM_QUIT included) until done()
// holds or the time is up, waiting at most sliceMs for the next message between bursts; true when
// done() came true. For programs that drive a window thread without the framework's loop: tests,
// benchmarks and the headless front end.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD sliceMs = 10);

// Nonzero while the calling thread runs a message that another thread sent.
BOOL InSendMessage();
// Releases the sender of the message being handled with this result; the handler goes on.
BOOL ReplyMessage(LRESULT result);
DWORD GetMessageTime();
