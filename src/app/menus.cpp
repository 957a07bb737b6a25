// The main program's dialogue: each menu is a list of screen lines followed
// by asknum; each entry runs its command and comes back to its menu.  The
// table edits go through a rebuild of yc (or of both tables) and then
// continue at the main menu or, when tripmode is 1, at the
// inclusion-exclusion submenu.  A command that Ctrl-C stops comes back to
// its menu with one line on the screen (app/signals.hpp).
#include "app/menus.hpp"

#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>

#include "app/signals.hpp"
#include "divisors/commands.hpp"
#include "goldbach/commands.hpp"
#include "io/keyboard_wait.hpp"
#include "io/session.hpp"
#include "methods/commands.hpp"
#include "methods/engine/triplet_data.hpp"
#include "numtheory/interrupt.hpp"
#include "numtheory/tables/tables.hpp"
#include "primes/commands.hpp"

namespace ntb {

namespace {

enum class Menu { Main, Primes, Divisors, Inclusion, Triplets, Goldbach, Exit };

// The one screen line of a command that Ctrl-C stopped.
constexpr const char* kInterruptedText = "Interrupted (Ctrl-C): back to the menu";

void show(Io& io, std::initializer_list<const char*> lines) {
  for (const char* l : lines) io.lst({l});
}

// The walk that builds yc, announced by one record holding tripmode; then
// the dialogue goes on at the menu that tripmode names.
Menu rebuild_yc(Session& s) {
  s.io.lst({"", s.tripmode});
  build_yc(s.t, s.no2357, s.kpos, s.store3);
  s.store3 = 0;
  return s.tripmode == 0 ? Menu::Main : Menu::Inclusion;
}

Menu rebuild_all(Session& s) {
  build_y(s.t);
  s.no2357 = 0;
  return rebuild_yc(s);
}

// A position of y typed at entries 6 and 7: 1..149000, asked again otherwise.
int32_t ask_position(Session& s) {
  for (;;) {
    const int32_t p = s.io.asknum();
    if (p >= 1 && p <= kYSize) return p;
  }
}

Menu take_out_entry(Session& s) {
  s.tripmode = 0;
  s.io.lst({"ENTER THE POSITION OF PRIME TO ELIMINATE"});
  s.choice = ask_position(s);
  s.kpos = s.choice;
  take_out(s.t, s.choice);
  s.no2357 = 1;
  return rebuild_yc(s);
}

Menu take_away_2357(Session& s) {
  s.tripmode = 1;
  s.io.pause();
  s.no2357 = 1;
  for (int k = 0; k < 4; ++k) take_out(s.t, 1);
  s.store3 = 1;
  return rebuild_yc(s);
}

void substitute_entry(Session& s) {
  s.io.scr("(1X,A50)", {"write the index of the prime you want to change"});
  const int32_t i = ask_position(s);
  s.io.lst({i, s.t.y[i]});
  s.io.scr("(1X,A50)", {"write the odd composite < of the above prime"});
  const int32_t v = s.io.asknum();
  substitute(s.t, i, v);
  s.io.lst({i, s.t.y[i]});
}

void about(Io& io) {
  show(io, {"ntbench, a number-theory workbench: see its README and repository",
            "-No responsability accepted", "For help and description read \"readme\"",
            "Contact: the issue tracker of the ntbench repository"});
}

Menu main_menu(Session& s) {
  show(s.io, {"        MENU", "1  Go to submenu primes", "2  Go to submenu divisors",
              "3  Go to submenu inclusion-exclusion and reverse methods",
              "4  Elaborate triplets with reverse method(Theorem of Fermat,Problem of 2N)",
              "5  Go to submenu Goldbach ", "6  TAKE AWAY A PRIME FROM MAIN ARRAY y",
              "7  SUBSTITUTE A PRIME WITH A SMALLER COMPOSITE", "8  MAIN ARRAY TO NORMAL",
              "9  About this program", "10 Exit program"});
  s.io.asknum(s.choice);
  const CommandScope entry;
  switch (s.choice) {
    case 0:
      s.io.pause();
      return Menu::Main;
    case 1:
      return Menu::Primes;
    case 2:
      return Menu::Divisors;
    case 3:
      return Menu::Inclusion;
    case 4:
      s.tripmode = 1;
      return Menu::Triplets;
    case 5:
      return Menu::Goldbach;
    case 6:
      return take_out_entry(s);
    case 7:
      substitute_entry(s);
      return Menu::Main;
    case 8:
      s.tripmode = 0;
      return rebuild_all(s);
    case 9:
      about(s.io);
      return Menu::Main;
    case 10:
      return Menu::Exit;
    default:
      return Menu::Main;
  }
}

Menu primes_menu(Session& s) {
  show(s.io,
       {"      SUBMENU PRIMES", "1  Phi(N)  ,10<N<=2147483647(sub trova1)",
        "2  Lists of primes  of gaps and twins N<=2147483647(sub lista) ",
        "3  Prime factors of a number N<=2147483647(sub decom) ", "4  Go back to main menu "});
  s.io.asknum(s.choice);
  const CommandScope entry;
  switch (s.choice) {
    case 1:
      prime_count_entry(s);
      break;
    case 2:
      lista(s);
      break;
    case 3:
      decom(s);
      break;
    case 4:
      return Menu::Main;
  }
  return Menu::Primes;
}

Menu divisors_menu(Session& s) {
  show(s.io, {"      SUBMENU DIVISORS",
              "1  Lists, total divisors and other functions N<=2147483647(sub vetto1)",
              "2  Lists of divisors for a single number N<=2147483647(sub div) ",
              "3  Euler function for a single number N<=2147483647(sub Euler1) ",
              "4  go back to main menu "});
  s.io.asknum(s.choice);
  const CommandScope entry;
  switch (s.choice) {
    case 1:
      vetto1(s);
      break;
    case 2:
      divisors_of_one(s);
      break;
    case 3:
      Euler1(s);
      break;
    case 4:
      return Menu::Main;
  }
  return Menu::Divisors;
}

Menu inclusion_menu(Session& s) {
  show(s.io, {"      SUBMENU inclusion-exclusion and reverse methods",
              "1  Phi(N) with inclusion-exclusion method (sub inclusion)",
              "2  Phi(N) with reverse method(sub reverse)",
              "3  Take away  the primes 2,3,5,7 from main array y(label 1023)",
              "4  MAIN ARRAY TO NORMAL(label 1020)", "5  Go back to main menu "});
  s.io.asknum(s.choice);
  const CommandScope entry;
  switch (s.choice) {
    case 1:
      inclusion(s);
      break;
    case 2:
      s.tripmode = 0;
      reverse(s);
      break;
    case 3:
      return take_away_2357(s);
    case 4:
      s.tripmode = 1;
      return rebuild_all(s);
    case 5:
      return Menu::Main;
  }
  return Menu::Inclusion;
}

Menu triplets_menu(Session& s) {
  s.choice = s.store1 = s.store2 = s.store3 = 0;
  show(s.io, {"     SUB MENU triplets or 3 numbers",
              "1  Enter 1st number of the triplet N1<=N2<N3 (sub reverse)",
              "   some data will be memorized in vector a1",
              "2  Enter 2nd number of the triplet N2<N3(sub reverse)",
              "   some data will be memorized in vector a2",
              "3  Enter 3rd number of the triplet N3>N2>=N1(sub reverse)",
              "   some data will be memorized in vector a3",
              "4  Elaborate data for the 3 numbers(label 5111)",
              "5  List of primitive Pythaforean triplets(sub triplets)", "6  Go to main menu"});
  s.io.asknum(s.choice);
  const CommandScope entry;
  switch (s.choice) {
    case 1:
    case 2:
    case 3:
      s.store1 = s.choice == 1;
      s.store2 = s.choice == 2;
      s.store3 = s.choice == 3;
      reverse(s);
      break;
    case 4:
      if (elaborate_triplets(s)) return Menu::Main;
      break;
    case 5:
      triplets(s);
      break;
    case 6:
      return Menu::Main;
  }
  return Menu::Triplets;
}

Menu goldbach_menu(Session& s) {
  show(s.io,
       {"      SUBMENU  Goldbach", "1  Pairs of primes,mixed and composites(sub Goldbach1)",
        "2  Numbers with the same numbers of pairs of prmes N <= 100(sub Goldbach2)",
        "3  Numbers with the same numbers of pairs of composites N<=100(sub Goldbach3)",
        "4  Numbers with the same numbers of pairs of mixed N <= 100(sub Goldbach4)",
        "5  Goldbach pairs with reverse method div 6,8( sub gold)",
        "6  Goldbach pairs with reverse method div 3,4(sub gold1)",
        "7  Mixed  pairs with total scanning  method(sub mixed1) ",
        "8  Mixed total pairs with combinatorics method of 1/2 (N) and scanning for the second "
        "half of N(sub mixed)",
        "9  Composite total pairs with combinatorics method for 1/2 (N)and scanning for   the "
        "second half of N(sub composite)",
        "10  Go back to main menu "});
  s.io.asknum(s.choice);
  const CommandScope entry;
  switch (s.choice) {
    case 1:
      Goldbach1(s);
      break;
    case 2:
      Goldbach2(s);
      break;
    case 3:
      Goldbach3(s);
      break;
    case 4:
      Goldbach4(s);
      break;
    case 5:
      gold(s);
      break;
    case 6:
      gold1(s);
      break;
    case 7:
    case 8:
    case 9: {
      const int32_t entry = s.choice;
      s.io.asknum(s.choice);
      double N = s.choice;
      double N2 = N - 2;
      if (entry == 7) mixed1(s, N, N2);
      if (entry == 8) mixed(s, N, N2);
      if (entry == 9) composite(s, N, N2);
      break;
    }
    case 10:
      return Menu::Main;
  }
  return Menu::Goldbach;
}

// The triplet data start at 0.  Zeroed memory from calloc already holds
// such an object (an aggregate of numbers, created by the allocation), so
// start-up need not write 720 KiB of zeros, nor touch those pages, for data
// that most runs never use.
struct FreeTriplets {
  void operator()(TripletData* p) const { std::free(p); }
};
static_assert(std::is_aggregate_v<TripletData> && std::is_trivially_destructible_v<TripletData>);

std::unique_ptr<TripletData, FreeTriplets> zeroed_triplets() {
  void* p = std::calloc(1, sizeof(TripletData));
  if (p == nullptr) throw std::bad_alloc();
  return std::unique_ptr<TripletData, FreeTriplets>(static_cast<TripletData*>(p));
}

// The whole run on `tables`; start-up builds them unless they are as built.
void run_session(Console& console, LogSink& log, Tables& tables, TripletData& trip, bool as_built) {
  Io io(console, log);
  Session s{io, tables, &trip};
  // A keyboard read inside a command that Ctrl-C asked to stop unwinds too.
  void (*const former_check)() = g_keyboard_wait_check;
  g_keyboard_wait_check = &interruption_point;

  try {
    s.choice = 0;
    Menu menu = Menu::Main;
    if (as_built)
      s.io.lst({"", s.tripmode});  // the record of the walk, which finds yc as it is
    else
      menu = rebuild_all(s);
    while (menu != Menu::Exit) {
      try {
        switch (menu) {
          case Menu::Main:
            menu = main_menu(s);
            break;
          case Menu::Primes:
            menu = primes_menu(s);
            break;
          case Menu::Divisors:
            menu = divisors_menu(s);
            break;
          case Menu::Inclusion:
            menu = inclusion_menu(s);
            break;
          case Menu::Triplets:
            menu = triplets_menu(s);
            break;
          case Menu::Goldbach:
            menu = goldbach_menu(s);
            break;
          case Menu::Exit:
            break;
        }
      } catch (const Interrupted&) {
        // Back to the menu the command was chosen from; the log keeps what
        // the command wrote and gets nothing more.
        s.io.lst({kInterruptedText});
      }
    }
  } catch (const EndOfInput&) {
    // The end of input ends the run as Exit does.
  }
  g_keyboard_wait_check = former_check;
  console.flush();
  log.flush();
}

}  // namespace

void run_workbench(Console& console, LogSink& log) {
  const TablesPtr tables = make_tables();
  run_session(console, log, *tables, *zeroed_triplets(), false);
}

void run_workbench(Console& console, LogSink& log, Tables& as_built, TripletData& zeroed) {
  run_session(console, log, as_built, zeroed, true);
}

}  // namespace ntb
