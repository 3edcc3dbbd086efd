#pragma once
// PumpMessages: lets the calling thread's windows catch up during long work by processing every
// message already waiting in its queue, through the framework's one-message pump (with the
// application's pre-translation). A thread without a framework thread object (every worker thread)
// gets 0 at once and its queue is not touched. It stops in front of a WM_QUIT, which stays queued
// for the message loop, and then answers nonzero; otherwise 0.
// Thread safety: any thread.
#include <cstdint>

int32_t PumpMessages();
