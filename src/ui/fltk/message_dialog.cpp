#include "ui/fltk/message_dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <vector>

#include "platform/event_loop.h"
#include "ui/fltk/fonts.h"
#include "ui/fltk/labels.h"
#include "ui/fltk/text_wrap.h"
#include "ui/interface.h"

namespace ui::fltk {
namespace {

constexpr int margin = 16;
constexpr int iconSize = 32;
constexpr int buttonWidth = 75;
constexpr int buttonHeight = 23;
constexpr int maxTextWidth = 420;

class Dialog : public Fl_Double_Window {
  public:
    Dialog(const std::string& text, int flags, const std::string& title)
        : Fl_Double_Window(100, 100), text_(text), icon_(flags & mbIconInformation) {
        copy_label(title.c_str());
        yesNo_ = (flags & 0x0F) == mbYesNo;

        fl_font(fontFace(false), 12);
        int lineHeight = fl_height();
        auto widthOf = [](std::string_view s) {
            return static_cast<int>(fl_width(s.data(), static_cast<int>(s.size())) + 0.5);
        };
        auto lines = wrapText(text_, maxTextWidth, widthOf);
        textWidth_ = 0;
        for (const auto& line : lines) {
            textWidth_ = std::max(textWidth_, widthOf(line));
        }
        textHeight_ = static_cast<int>(lines.size()) * lineHeight;
        textLeft_ = margin + (icon_ ? iconSize + 12 : 0);

        int buttonCount = yesNo_ ? 2 : 1;
        int buttonsWidth = buttonCount * buttonWidth + (buttonCount - 1) * 8;
        int width = std::max(textLeft_ + textWidth_ + margin, buttonsWidth + 2 * margin);
        width = std::max(width, 160);
        int body = std::max(textHeight_, icon_ ? iconSize : 0);
        int height = margin + body + margin + buttonHeight + 12;
        size(width, height);
        textTop_ = margin + (body - textHeight_) / 2;

        int bx = (width - buttonsWidth) / 2;
        int by = height - buttonHeight - 12;
        if (yesNo_) {
            addButton(bx, by, "是(&Y)", idYes);
            addButton(bx + buttonWidth + 8, by, "否(&N)", idNo);
        } else {
            addButton(bx, by, "确定", idOk);
        }
        end();
        set_modal();
        callback(closing);
        position((Fl::w() - w()) / 2, (Fl::h() - h()) / 2);
    }

    bool answered() const { return answer_ >= 0; }
    int answer() const { return answer_; }

  protected:
    void draw() override {
        fl_color(FL_WHITE);
        fl_rectf(0, 0, w(), h() - buttonHeight - 24);
        fl_color(FL_BACKGROUND_COLOR);
        fl_rectf(0, h() - buttonHeight - 24, w(), buttonHeight + 24);
        if (icon_) {
            drawInformationIcon(margin, margin);
        }
        fl_font(fontFace(false), 12);
        fl_color(FL_BLACK);
        drawWrapped(text_, textLeft_, textTop_, maxTextWidth, textHeight_, Align::Left);
        draw_children();
    }

    int handle(int event) override {
        if (event == FL_KEYBOARD || event == FL_SHORTCUT) {
            int key = Fl::event_key();
            if (yesNo_ && key == 'y') {
                answer_ = idYes;
                return 1;
            }
            if (yesNo_ && key == 'n') {
                answer_ = idNo;
                return 1;
            }
            if (key == FL_Enter || key == FL_KP_Enter) {
                // Enter presses the focused button, the first one by default.
                answer_ = results_.front();
                for (size_t i = 0; i < buttons_.size(); ++i) {
                    if (Fl::focus() == buttons_[i]) {
                        answer_ = results_[i];
                    }
                }
                return 1;
            }
        }
        return Fl_Double_Window::handle(event);
    }

  private:
    void addButton(int x, int y, const char* caption, int result) {
        auto* button = new Fl_Button(x, y, buttonWidth, buttonHeight);
        button->copy_label(caption);
        button->labelfont(fontFace(false));
        button->labelsize(12);
        button->callback(pressed, reinterpret_cast<void*>(static_cast<intptr_t>(result)));
        buttons_.push_back(button);
        results_.push_back(result);
    }

    static void pressed(Fl_Widget* button, void* result) {
        auto* self = static_cast<Dialog*>(button->window());
        self->answer_ = static_cast<int>(reinterpret_cast<intptr_t>(result));
    }

    // Esc or the window manager's close: a box with only OK answers OK; a Yes/No box has
    // no way out but its buttons.
    static void closing(Fl_Widget* widget, void*) {
        auto* self = static_cast<Dialog*>(widget);
        if (!self->yesNo_) {
            self->answer_ = idOk;
        }
    }

    static void drawInformationIcon(int x, int y) {
        fl_color(fl_rgb_color(0, 102, 204));
        fl_pie(x, y, iconSize, iconSize, 0, 360);
        fl_color(FL_WHITE);
        fl_font(FL_TIMES_BOLD, 22);
        fl_draw("i", x, y, iconSize, iconSize, FL_ALIGN_CENTER);
    }

    std::string text_;
    bool icon_;
    bool yesNo_ = false;
    int textWidth_ = 0, textHeight_ = 0, textLeft_ = 0, textTop_ = 0;
    int answer_ = -1;
    std::vector<Fl_Button*> buttons_;
    std::vector<int> results_;
};

}  // namespace

int runMessageDialog(platform::EventLoop& loop, const std::string& text, int flags,
                     const std::string& title) {
    auto* dialog = new Dialog(text, flags, title);
    dialog->show();
    loop.runUntil([&] { return dialog->answered() || !dialog->shown(); });
    int answer = dialog->answered() ? dialog->answer() : idOk;
    dialog->hide();
    Fl::delete_widget(dialog);
    return answer;
}

}  // namespace ui::fltk
