#include "ui/control.h"

namespace ui {

const char* windowName(WindowId window) {
    return window == WindowId::Main ? "main" : "update";
}

const char* kindName(Kind kind) {
    switch (kind) {
        case Kind::Window:
            return "window";
        case Kind::PicBox:
            return "PicBox";
        case Kind::PicBtn:
            return "PicBtn";
        case Kind::TransLabel:
            return "TransLabel";
        case Kind::Label:
            return "Label";
        case Kind::GroupBox:
            return "GroupBox";
        case Kind::EditBox:
            return "EditBox";
        case Kind::ComboBox:
            return "ComboBox";
        case Kind::Button:
            return "Button";
        case Kind::PageControl:
            return "PageControl";
        case Kind::ListView:
            return "ListView";
        case Kind::Client:
            return "Client";
        case Kind::Timer:
            return "Timer";
        case Kind::ProcessBar:
            return "ProcessBar";
    }
    return "?";
}

}  // namespace ui
