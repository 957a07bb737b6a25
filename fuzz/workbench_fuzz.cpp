// libFuzzer target: the whole workbench, from start-up to the end of input,
// driven by arbitrary bytes through the scripted console of the tests.
// Start-up does not build the tables for every input: they are built once
// per process and each input starts on a copy of them, and on triplet data
// set to 0 again.  The
// bytes are the keyboard as a file gives it: one line per '\n' (a final line
// without '\n' counts, a CR before the '\n' is dropped), and a key read
// takes a whole line and gives its first character ('\r' for an empty line).
// Command lines typed at the console pause are recorded, never run.  The
// screen and the session log go to memory.  The table edits are menu
// entries like any other and are reached the same way.
//
// Bounds on the work of one execution, so that each stays well under a
// second under the sanitizers:
//  - Numbers: where a command's silent computation grows with N (the N of
//    the inclusion-exclusion and reverse methods, the N of the divisor-count
//    listing), a typed value above kHeavyTop, read as asknum reads it, is
//    replaced by that value modulo kHeavyTop + 1.  The list of primes with a
//    given gap scans the primes from N1 to N2 and may find none to show, so
//    its N2 is kept within kHeavyTop of the last N1 typed the same way.
//    Once y has been edited (main-menu entries 6 and 7, inclusion-exclusion
//    entry 3; entry 8 and inclusion-exclusion entry 4 restore it), the
//    counts that the commands take from y no longer have their fast paths,
//    and a value above kEditedTop typed at any number prompt but the edits'
//    own is replaced by that value modulo kEditedTop + 1.
//    Every other prompt gets the bytes unchanged, up to 2147483647 and past
//    it.
//  - Commands: after kCommandBudget menu entries that run a command or edit
//    the tables, the next one confirmed meets the end of input.
//  - Records: after kScreenBudget bytes on the screen (a long listing that
//    prints without page stops) the run ends as at the end of input.
// The target follows the dialogue from the screen: a menu is recognised by
// its header, and its entry by the number typed and confirmed there.
//
// Besides the sanitizers, the target checks promises of the console and the
// log: both channels are flushed before every keyboard read, every log
// record is whole (ends with CR LF), and a command line handed to the
// interpreter is 2 to 128 characters without trailing blanks or tabs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "app/menus.hpp"
#include "io/console.hpp"
#include "io/io.hpp"
#include "io/list_input.hpp"
#include "methods/engine/triplet_data.hpp"
#include "numtheory/tables/tables.hpp"
#include "support/scripted_console.hpp"

namespace {

constexpr int64_t kHeavyTop = 4000000;  // twice the range of the tables
constexpr int64_t kEditedTop = 50000;
constexpr int kCommandBudget = 4;  // enough for three reverse runs and their elaboration
constexpr size_t kScreenBudget = 256 * 1024;

// The session log in memory; records must be whole.
class FuzzLog final : public ntb::LogSink {
 public:
  void write(std::string_view bytes) override {
    if (bytes.size() < 2 || bytes.substr(bytes.size() - 2) != "\r\n") std::abort();
    pending = true;
  }
  void flush() override { pending = false; }
  bool pending = false;
};

// The value asknum takes from a typed line, or -1 when it asks again.
int64_t asknum_value(const std::string& line) {
  std::string text;
  if (!ntb::first_list_value(line, text)) return -1;
  text.resize(20, ' ');
  if (text[0] < '0' || text[0] > '9') return -1;
  double v = 0;
  if (!ntb::read_f11(std::string_view(text).substr(0, 11), v) || !(v <= 2147483647.0)) return -1;
  return static_cast<int64_t>(v);
}

// Searches of the screen text compared char by char: the fuzzer's hook on
// memcmp would otherwise weigh on every read.
size_t last_of(std::string_view text, std::string_view what) {
  const auto at = std::search(text.rbegin(), text.rend(), what.rbegin(), what.rend());
  return at == text.rend() ? std::string_view::npos : size_t(text.rend() - at) - what.size();
}
bool contains(std::string_view text, std::string_view what) {
  return std::search(text.begin(), text.end(), what.begin(), what.end()) != text.end();
}

enum class Menu { None, Main, Primes, Divisors, Inclusion, Triplets, Goldbach };

// The menu whose header the screen text shows last, if any.
Menu menu_shown(std::string_view shown) {
  static constexpr std::pair<const char*, Menu> kHeaders[] = {
      {"        MENU\r\n", Menu::Main},      {"SUBMENU PRIMES", Menu::Primes},
      {"SUBMENU DIVISORS", Menu::Divisors},  {"SUBMENU inclusion-exclusion", Menu::Inclusion},
      {"SUB MENU triplets", Menu::Triplets}, {"SUBMENU  Goldbach", Menu::Goldbach}};
  Menu m = Menu::None;
  size_t at = 0;
  for (const auto& [header, menu] : kHeaders) {
    const size_t p = last_of(shown, header);
    if (p != std::string_view::npos && (m == Menu::None || p >= at)) {
      m = menu;
      at = p;
    }
  }
  return m;
}

// Menu entries that only move between menus, show text or pause.
bool runs_a_command(Menu m, int64_t v) {
  switch (m) {
    case Menu::Main:
      return v >= 6 && v <= 8;
    case Menu::Primes:
    case Menu::Divisors:
      return v >= 1 && v <= 3;
    case Menu::Inclusion:
      return v >= 1 && v <= 4;
    case Menu::Triplets:
      return v >= 1 && v <= 5;
    case Menu::Goldbach:
      return v >= 1 && v <= 9;
    case Menu::None:
      return false;
  }
  return false;
}

// The scripted console of the tests, fed with the lines of the input, with
// the checks and the bounds above around it.
class FuzzConsole final : public ntb::Console {
 public:
  FuzzConsole(const uint8_t* data, size_t size, const FuzzLog& log)
      : script_(ntb::testing::lines_of({reinterpret_cast<const char*>(data), size})), log_(log) {}

  bool read_line(std::string& line) override {
    const Stage stage = before_read();
    if (stage == Stage::OverBudget || !script_.read_line(line)) return false;
    if (stage == Stage::MenuChoice) {
      menu_value_ = asknum_value(line);
    } else if (stage == Stage::MenuConfirmation) {
      if (line.empty() || (line[0] != 'N' && line[0] != 'n')) choose(menu_value_);
      if (over_budget_) return false;
    } else if (edited_ && !edit_prompt_) {
      const int64_t v = asknum_value(line);
      if (v > kEditedTop) line = std::to_string(v % (kEditedTop + 1));
    } else if (stage == Stage::BoundedNumber) {
      const int64_t v = asknum_value(line);
      if (v > kHeavyTop) line = std::to_string(v % (kHeavyTop + 1));
    } else if (stage == Stage::ListStart && !confirming_) {
      if (const int64_t v = asknum_value(line); v >= 0) list_start_ = v;
    } else if (stage == Stage::ListEnd) {
      const int64_t v = asknum_value(line);
      if (v > list_start_ + kHeavyTop)
        line = std::to_string(list_start_ + (v - list_start_) % (kHeavyTop + 1));
    }
    return true;
  }
  bool read_key(char& c) override {
    if (before_read() == Stage::OverBudget) return false;
    return script_.read_key(c);
  }
  void run_command(const std::string& command) override {
    if (command.size() < 2 || command.size() > 128) std::abort();
    if (command.back() == ' ' || command.back() == '\t') std::abort();
    script_.run_command(command);  // recorded, not run
  }
  void write(std::string_view bytes) override {
    unflushed_ = true;
    screen_bytes_ += bytes.size();
    if (screen_bytes_ > kScreenBudget) throw ntb::EndOfInput{};
    if (shown_.size() < 8192) shown_.append(bytes.substr(0, 8192));
  }
  void flush() override { unflushed_ = false; }

 private:
  enum class Stage {
    Other,
    MenuChoice,
    MenuConfirmation,
    BoundedNumber,
    ListStart,  // N1 of the list of primes
    ListEnd,    // its N2
    OverBudget
  };

  // What the next read answers, from what the screen showed since the last.
  Stage before_read() {
    if (unflushed_ || log_.pending) std::abort();  // a read before both channels were flushed
    const std::string shown = std::move(shown_);
    shown_.clear();
    const bool echo = contains(shown, "  OK? Yes=any key N/n=no");
    const bool prompt =
        shown.size() >= 12 && shown.compare(shown.size() - 12, 12, "enter number") == 0;
    if (over_budget_) return Stage::OverBudget;
    const Stage last = last_;
    Stage now = Stage::Other;
    if (const Menu m = menu_shown(shown); m != Menu::None && prompt) {
      menu_ = m;
      now = Stage::MenuChoice;
    } else if (echo && last == Stage::MenuChoice) {
      now = Stage::MenuConfirmation;
    } else if (shown == "enter number" && last == Stage::MenuConfirmation && !chosen_) {
      now = Stage::MenuChoice;  // refused or answered N: the same menu asks again
    } else if (contains(shown, "calculate Phi(N) with") && prompt) {
      now = Stage::BoundedNumber;  // the N of the inclusion-exclusion or reverse method
    } else if (prompt && chosen_ && menu_ == Menu::Divisors && chosen_value_ == 1) {
      now = Stage::BoundedNumber;  // the N of the divisor-count listing
    } else if (contains(shown, "N1 ? odd number>11") && prompt) {
      now = Stage::ListStart;
    } else if (contains(shown, "N2 ? N2>N1") && prompt) {
      now = Stage::ListEnd;
    } else if ((shown == "enter number" || echo) &&
               (last == Stage::BoundedNumber || last == Stage::ListStart ||
                last == Stage::ListEnd)) {
      now = last;  // the confirmation, or the same question asked again
    }
    confirming_ = echo;
    if (contains(shown, "ENTER THE POSITION OF PRIME") ||
        contains(shown, "write the index of the prime") ||
        contains(shown, "write the odd composite"))
      edit_prompt_ = true;
    else if (!echo && shown != "enter number")
      edit_prompt_ = false;
    if (now == Stage::MenuChoice) chosen_ = false;
    if (now != Stage::MenuConfirmation && last != Stage::MenuConfirmation) chosen_ = false;
    last_ = now;
    return now;
  }
  // An entry confirmed at the menu: the menus take it when asknum does.
  void choose(int64_t v) {
    if (v < 0) return;
    chosen_ = true;
    chosen_value_ = v;
    if (runs_a_command(menu_, v) && ++commands_ > kCommandBudget) over_budget_ = true;
    if ((menu_ == Menu::Main && (v == 6 || v == 7)) || (menu_ == Menu::Inclusion && v == 3))
      edited_ = true;
    if ((menu_ == Menu::Main && v == 8) || (menu_ == Menu::Inclusion && v == 4)) edited_ = false;
  }

  ntb::testing::ScriptedConsole script_;
  const FuzzLog& log_;
  std::string shown_;
  size_t screen_bytes_ = 0;
  bool unflushed_ = false;
  Stage last_ = Stage::Other;
  Menu menu_ = Menu::None;
  int64_t menu_value_ = -1;
  bool chosen_ = false;  // the last menu read confirmed an entry
  int64_t chosen_value_ = 0;
  int64_t list_start_ = 0;
  bool confirming_ = false;   // the read answers "OK?"
  bool edited_ = false;       // y is not as built
  bool edit_prompt_ = false;  // an edit asks for a position or a value
  int commands_ = 0;
  bool over_budget_ = false;
};

// The tables as built, for the next input.  One copy serves every input and
// is restored from the pristine tables only when the last input changed it:
// y, yc and the flags change only through the builds and edits, every one
// of which gives y a new stamp (the walk for yc always follows a build or an
// edit of y in the same menu entry), so the same stamp means the same tables.
ntb::Tables& tables_as_built_again() {
  static const ntb::TablesPtr work = ntb::make_tables();
  const ntb::Tables& built = ntb::tables_as_built();
  if (work->version != built.version) {
    void* const mapping = work->mapping;
    *work = built;
    work->mapping = mapping;
  }
  return *work;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzLog log;
  FuzzConsole console(data, size, log);
  static const auto trip = std::make_unique<ntb::TripletData>();
  std::memset(trip.get(), 0, sizeof *trip);
  ntb::run_workbench(console, log, tables_as_built_again(), *trip);
  return 0;
}
