#include "ui/interface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "platform/encoding.h"
#include "support/main_window_fixture.h"
#include "support/recording_front_end.h"

namespace {

using testing_support::RecordingFrontEnd;
using ui::WindowId;

class InterfaceServices : public testing_support::MainWindowTest {};

TEST_F(InterfaceServices, MessageBoxWithoutTitleShowsTheDefaultTitle) {
    frontEnd.answers = {ui::idYes};
    EXPECT_EQ(ui.messageBox(gbk("问"), 0x44), ui::idYes);
    EXPECT_EQ(ui.messageBox(gbk("错"), 0, gbk("错误")), ui::idOk);
    EXPECT_EQ(frontEnd.log[0], "box " + gbk("信息：") + "|" + gbk("问") + "|68");
    EXPECT_EQ(frontEnd.log[1], "box " + gbk("错误") + "|" + gbk("错") + "|0");
}

TEST_F(InterfaceServices, CloseIsCarriedOutAfterTheRunningHandler) {
    ui.bind(WindowId::Main, "图形按钮7", ui::Event::Clicked, [&] {
        ui.closeWindow(WindowId::Main);
        ui.setText(WindowId::Main, "透明标签9", "after");
        EXPECT_TRUE(ui.isOpen(WindowId::Main));
    });
    EXPECT_TRUE(ui.click(WindowId::Main, "图形按钮7"));
    EXPECT_EQ(frontEnd.log.back(), "text 透明标签9 after");
    loop.runOnce(std::chrono::milliseconds(0));
    EXPECT_FALSE(ui.isOpen(WindowId::Main));
    EXPECT_EQ(frontEnd.log.back(), "closed main");
}

TEST_F(InterfaceServices, InputReachesOnlyControlsThePlayerCanReach) {
    int clicks = 0;
    ui.bind(WindowId::Main, "按钮1", ui::Event::Clicked, [&] { ++clicks; });
    EXPECT_FALSE(ui.click(WindowId::Main, "按钮1"));  // its panel is hidden
    ui.show(WindowId::Main, "注册框");
    EXPECT_TRUE(ui.click(WindowId::Main, "按钮1"));
    ui.disable(WindowId::Main, "按钮1");
    EXPECT_FALSE(ui.click(WindowId::Main, "按钮1"));
    EXPECT_EQ(clicks, 1);

    ui.show(WindowId::Main, "高级选择夹1");
    EXPECT_TRUE(ui.click(WindowId::Main, "按钮8"));   // on the first page, shown at start
    EXPECT_FALSE(ui.click(WindowId::Main, "按钮9"));  // on the second page
    EXPECT_TRUE(ui.select(WindowId::Main, "高级选择夹1", 1));
    EXPECT_TRUE(ui.click(WindowId::Main, "按钮9"));
    EXPECT_THROW(ui.click(WindowId::Main, "按钮99"), ui::UnknownControl);
}

TEST_F(InterfaceServices, SelectionOfAnEmptyChoiceIsMinusOne) {
    EXPECT_EQ(ui.selection(WindowId::Main, "组合框1"), -1);
    ui.addItem(WindowId::Main, "组合框1", gbk("一区"), 0);
    EXPECT_EQ(ui.selection(WindowId::Main, "组合框1"), -1);
    EXPECT_EQ(ui.selection(WindowId::Main, "组合框4"), 0);
    ui.show(WindowId::Main, "注册框");
    EXPECT_THROW(ui.select(WindowId::Main, "组合框1", 1), std::out_of_range);
    EXPECT_TRUE(ui.select(WindowId::Main, "组合框1", 0));
    EXPECT_EQ(ui.selection(WindowId::Main, "组合框1"), 0);
}

TEST_F(InterfaceServices, ModalUpdateWindowBlocksTheMainWindowUntilItCloses) {
    int ticks = 0;
    ui.bind(WindowId::Update, "时钟", ui::Event::Tick, [&] {
        ++ticks;
        EXPECT_FALSE(ui.click(WindowId::Main, "图形按钮4"));
        ui.closeWindow(WindowId::Update);
    });
    ui.runModalUpdateWindow();
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(ui.isOpen(WindowId::Update));
    EXPECT_TRUE(ui.click(WindowId::Main, "图形按钮4"));
}

// Bindings are made before any window opens; a wrong one must fail there, not leave a
// control that silently does nothing.
TEST(Bindings, ANameOrEventTheLayoutDoesNotHaveFailsAtOnce) {
    platform::EventLoop loop;
    ui::Interface ui{loop};
    auto nothing = [] {};
    auto noPress = [](const ui::Press&) {};
    EXPECT_THROW(ui.bind(WindowId::Main, "按钮l", ui::Event::Clicked, nothing), ui::UnknownControl);
    EXPECT_THROW(ui.bind(WindowId::Main, "编辑框13", ui::Event::Clicked, nothing),
                 ui::UnknownControl);
    // The right name in the wrong window.
    EXPECT_THROW(ui.bind(WindowId::Main, "时钟", ui::Event::Tick, nothing), ui::UnknownControl);
    EXPECT_THROW(ui.bind(WindowId::Update, "按钮1", ui::Event::Clicked, nothing),
                 ui::UnknownControl);
    EXPECT_THROW(ui.bindLeftButtonDown(WindowId::Main, "编辑框 4", noPress), ui::UnknownControl);
    EXPECT_THROW(ui.raise(WindowId::Main, "客户2", ui::Event::DataArrival), ui::UnknownControl);

    // Events the control never raises.
    EXPECT_THROW(ui.bind(WindowId::Main, "编辑框1", ui::Event::Clicked, nothing), ui::WrongKind);
    EXPECT_THROW(ui.bind(WindowId::Main, "按钮1", ui::Event::DataArrival, nothing), ui::WrongKind);
    EXPECT_THROW(ui.bind(WindowId::Main, "按钮1", ui::Event::Created, nothing), ui::WrongKind);
    EXPECT_THROW(ui.bindLeftButtonDown(WindowId::Main, "按钮1", noPress), ui::WrongKind);
    EXPECT_THROW(ui.bind(WindowId::Main, "编辑框4", ui::Event::LeftButtonDown, nothing),
                 std::invalid_argument);

    int ran = 0;
    EXPECT_NO_THROW(ui.bind(WindowId::Main, "客户1", ui::Event::DataArrival, [&] { ++ran; }));
    EXPECT_NO_THROW(ui.bind(WindowId::Update, "时钟", ui::Event::Tick, nothing));
    EXPECT_NO_THROW(ui.bindCreated(WindowId::Main, [&] { ++ran; }));
    EXPECT_NO_THROW(ui.bindLeftButtonDown(WindowId::Main, "编辑框4", noPress));
    ui.openMainWindow();
    ui.raise(WindowId::Main, "客户1", ui::Event::DataArrival);
    EXPECT_EQ(ran, 2) << "the refused bindings replaced none of the good ones";
}

// Boxes that stay open for a moment, as the real ones do, with the loop running inside.
class NestedLoops : public ::testing::Test {
  protected:
    struct LoopingFrontEnd : RecordingFrontEnd {
        platform::EventLoop* loop = nullptr;
        std::function<void()> whileOpen;

        int messageBox(const std::string& text, int flags, const std::string& title) override {
            RecordingFrontEnd::messageBox(text, flags, title);
            bool answered = false;
            loop->startTimer(std::chrono::milliseconds(5), false, [&] {
                if (auto run = std::exchange(whileOpen, nullptr)) {
                    run();
                }
                answered = true;
            });
            loop->runUntil([&] { return answered; });
            log.push_back("box closed");
            return ui::idOk;
        }
    };

    NestedLoops() {
        frontEnd.loop = &loop;
        ui.attach(&frontEnd);
        ui.openMainWindow();
        ui.bind(WindowId::Main, "客户1", ui::Event::DataArrival, [&] {
            ui.messageBox(gbk("版本最新的，无需下载"), ui::mbOk);
            ui.setText(WindowId::Main, "透明标签9", "after");
        });
        frontEnd.log.clear();
    }
    bool logged(const std::string& line) const {
        return std::find(frontEnd.log.begin(), frontEnd.log.end(), line) != frontEnd.log.end();
    }

    platform::EventLoop loop;
    ui::Interface ui{loop};
    LoopingFrontEnd frontEnd;
};

TEST_F(NestedLoops, ACloseQueuedBeforeAHandlerWaitsForItsBox) {
    // Esc first, then an arrival in the same turn of the loop, before the close is done.
    EXPECT_TRUE(ui.escape(WindowId::Main));
    frontEnd.whileOpen = [&] {
        EXPECT_TRUE(ui.isOpen(WindowId::Main));
        EXPECT_FALSE(ui.click(WindowId::Main, "图形按钮4")) << "the box is modal";
    };
    ui.raise(WindowId::Main, "客户1", ui::Event::DataArrival);
    EXPECT_TRUE(logged("box closed"));
    EXPECT_EQ(frontEnd.log.back(), "text 透明标签9 after");
    loop.runUntil([&] { return !ui.isOpen(WindowId::Main); });
    EXPECT_EQ(frontEnd.log.back(), "closed main");
}

TEST_F(NestedLoops, TheUpdateWindowOpensOnceAndItsCloseEndsTheModalWaits) {
    int created = 0;
    ui.bind(WindowId::Update, "", ui::Event::Created, [&] { ++created; });
    // A second "yes, download" while the update window is open, then the download's end.
    ui.bind(WindowId::Main, "客户1", ui::Event::DataArrival, [&] { ui.runModalUpdateWindow(); });
    ui.bind(WindowId::Main, "图形按钮7", ui::Event::Clicked, [&] {
        loop.startTimer(std::chrono::milliseconds(20), false,
                        [&] { ui.raise(WindowId::Main, "客户1", ui::Event::DataArrival); });
        loop.startTimer(std::chrono::milliseconds(60), false, [&] {
            ui.closeWindow(WindowId::Update);
            ui.closeWindow(WindowId::Main);
        });
        ui.runModalUpdateWindow();
        ui.setText(WindowId::Main, "透明标签9", "after");
    });
    EXPECT_TRUE(ui.click(WindowId::Main, "图形按钮7"));
    EXPECT_EQ(created, 1);
    EXPECT_EQ(frontEnd.log.back(), "text 透明标签9 after");
    loop.runUntil([&] { return !ui.isOpen(WindowId::Main); });
    EXPECT_EQ(std::count(frontEnd.log.begin(), frontEnd.log.end(), "open update"), 1);
    EXPECT_FALSE(ui.isOpen(WindowId::Update));
}

}  // namespace
