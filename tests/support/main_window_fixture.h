#pragma once

#include <gtest/gtest.h>

#include "support/recording_front_end.h"
#include "ui/interface.h"

namespace testing_support {

// The main window open on a recording front end, its log cleared of the opening, for tests
// of what one operation does to the controls.
class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest() {
        ui.attach(&frontEnd);
        ui.openMainWindow();
        frontEnd.log.clear();
    }

    platform::EventLoop loop;
    ui::Interface ui{loop};
    RecordingFrontEnd frontEnd;
};

}  // namespace testing_support
