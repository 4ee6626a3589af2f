#pragma once

#include <vector>

#include "ui/control.h"

namespace ui {

// The fixed layouts of the two windows, in the order their controls are created.
const std::vector<ControlSpec>& mainWindowLayout();
const std::vector<ControlSpec>& updateWindowLayout();
const std::vector<ControlSpec>& layoutOf(WindowId window);

// The operator's web address, shown in the side panel and in the activity log's lines.
inline constexpr const char* operatorWebAddress = "www.denglongyu.example";
inline constexpr const char* operatorLabelText = "开翔岳私服，到www.denglongyu.example";

// Window sizes, in pixels.
inline constexpr int mainWindowWidth = 801;
inline constexpr int mainWindowHeight = 602;
inline constexpr int updateWindowWidth = 327;
inline constexpr int updateWindowHeight = 64;

}  // namespace ui
