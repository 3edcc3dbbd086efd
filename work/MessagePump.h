// Message pumping as the thread and timer-thread objects need it.
// - The application's message-pump service: processes the messages already waiting in the calling
//   thread's queue. The application framework installs its PumpMessages at start-up; until then (and
//   in programs without the framework) the service does nothing and returns 0, which is also what the
//   framework's pump does on worker threads.
// - DispatchWaitingMessages: what a worker thread does between ticks, with no framework involved.
// Thread safety: SetMessagePumpService and RunMessagePumpService from any thread (install once, at
// start-up, before any clock starts); DispatchWaitingMessages acts on the calling thread's own queue.
#pragma once

#include <cstdint>

using MessagePumpService = int32_t (*)();

void SetMessagePumpService(MessagePumpService service);
int32_t RunMessagePumpService();

// Removes and dispatches, with key translation, every message waiting in the calling thread's queue
// (WM_QUIT included, which dispatching ignores); returns how many it dispatched.
int32_t DispatchWaitingMessages();
