#include "platform/spreadsheet/SaveSystemCalls.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace platform::spreadsheet {
namespace {

const SaveSystemCalls kReal{
    [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
    ::mkdtemp,
    ::write,
    ::fsync,
    ::close,
    ::rename,
};

std::atomic<const SaveSystemCalls*> current{&kReal};

}  // namespace

const SaveSystemCalls& realSaveSystemCalls() { return kReal; }

const SaveSystemCalls& saveSystemCalls() { return *current.load(std::memory_order_acquire); }

ScopedSaveSystemCalls::ScopedSaveSystemCalls(const SaveSystemCalls& calls)
    : previous_(current.exchange(&calls, std::memory_order_acq_rel)) {}

ScopedSaveSystemCalls::~ScopedSaveSystemCalls() { current.store(previous_, std::memory_order_release); }

}  // namespace platform::spreadsheet
