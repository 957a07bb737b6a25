// Placeholder until the record layer lands.
#include "shell/record.hpp"

namespace ntb {

void format_records(std::string_view, std::span<const Item>, std::vector<std::string>&) {}
void format_list(std::span<const Item>, std::vector<std::string>&) {}
std::string format_int(int32_t, int) { return {}; }
std::string format_fixed(double, int, int) { return {}; }
std::string format_list_real(double) { return {}; }

}  // namespace ntb
