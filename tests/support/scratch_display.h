// A test fixture: the display started in a scratch directory of its own, with
// whatever bitmaps the test writes there first; removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosts/headless/headless.h"
#include "support/scratch_dir.h"

class ScratchDisplayTest : public ::testing::Test {
protected:
    // Called in the scratch directory before the display starts, so that the
    // start-up title sheet can be written first.
    virtual void prepare_files() {}
    void SetUp() override;
    void TearDown() override;

    ScratchDir scratch_;
    std::vector<HeadlessEvent> startup_events_;
};
