// A fixture that installs a fresh scripted dialog service for each test and puts the previous one
// back afterwards.
#pragma once

#include "platform/dialogs/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <memory>

class ScriptedDialogsTest : public ::testing::Test {
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
