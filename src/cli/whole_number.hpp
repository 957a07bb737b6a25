// The whole numbers of the command line: the type that holds an argument's
// value and its bounds, wide enough for any range a command may accept (up
// to 2^128 - 1).  The text of an argument is read by the integer expressions
// of number_expression.hpp.
#pragma once

namespace ntb::cli {

using Whole = unsigned __int128;

}  // namespace ntb::cli
