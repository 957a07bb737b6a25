// What the keyboard reads of a typed line: the first list-directed value
// taken as text, and a whole number read from a text in the layout (F11.0).
#pragma once

#include <string>
#include <string_view>

namespace ntb {

// The first value of the line as text: a quoted value is the text between
// its quotes (a doubled quote stands for one), otherwise the characters up
// to the first blank, comma or slash.  False for an empty line or a line of
// blanks.
bool first_list_value(std::string_view line, std::string& text);

// Reads a real from `field` as the layout (F11.0) does: blanks are ignored,
// an optional sign, digits with an optional point, an optional exponent
// (E, D, or a bare sign).  False when the field is not such a number.
bool read_f11(std::string_view field, double& value);

}  // namespace ntb
