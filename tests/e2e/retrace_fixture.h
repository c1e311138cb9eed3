#pragma once
// Every end-to-end test starts and ends with no Retrace running and the
// settings key as the installation writes it.

#include <gtest/gtest.h>

#include "tests/e2e/automation_win32.h"
#include "tests/support/settings_key_win32.h"

class RetraceTest : public testing::Test {
protected:
    void SetUp() override {
        unloadRunningRetrace();
        installDefaultSettingsKey();
    }
    void TearDown() override {
        unloadRunningRetrace();
        installDefaultSettingsKey();
    }
};
