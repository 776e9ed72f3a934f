#pragma once
// The settings files as the project ships them (data/tarvel_moravik), built into the program: a
// release's folder holds only the files as a modder has since edited them.
#include <string_view>

namespace preview {

// The shipped bytes of a file of tarvel_moravik\ by its name there ("tarvel_III.ini",
// "color_configs\\IIIColors.ini", "color_configs\\VColors.ini"); empty for any other name.
std::string_view shippedSettings(std::string_view name);

} // namespace preview
