#pragma once
// Helpers for the dialog tests: a fixture that installs a fresh scripted service for each test and
// puts the previous one back, and a reaper that ends a hung test instead of letting it hang.
#include "platform/dialogs/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

class ScriptedDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialogs_ = std::make_shared<ScriptedDialogs>();
        previous_ = SetDialogService(dialogs_);
    }
    void TearDown() override { SetDialogService(previous_); }

    std::shared_ptr<ScriptedDialogs> dialogs_;
    std::shared_ptr<DialogService> previous_;
};

// Ends the process with a message when not dismissed within the limit.
class Reaper {
public:
    explicit Reaper(std::chrono::milliseconds limit)
        : thread_([this, limit] {
              std::unique_lock lock(mutex_);
              if (!cv_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fprintf(stderr, "reaper: the test did not finish in time\n");
                  std::_Exit(3);
              }
          })
    {
    }
    ~Reaper()
    {
        {
            std::lock_guard guard(mutex_);
            done_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    std::thread thread_;
};
