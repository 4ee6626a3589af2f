#include "ui/verification_codes.h"

#include <string>
#include <string_view>

#include "ui/control_names.h"

namespace ui {
namespace {

void newCode(Interface& ui, Generator& generator, std::string_view label, int min, int max) {
    ui.show(WindowId::Main, label);
    ui.setText(WindowId::Main, label, std::to_string(randomInteger(generator, min, max)));
}

}  // namespace

void newRegisterCode(Interface& ui, Generator& generator) {
    newCode(ui, generator, registerPanel.codeLabel, 3424, 9864);
}

void newPasswordCode(Interface& ui, Generator& generator) {
    newCode(ui, generator, passwordPanel.codeLabel, 3524, 8864);
}

}  // namespace ui
