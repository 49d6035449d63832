// Every screen of the instrument by name, and the main-menu item each one
// goes back to: the one place the headless driver, the soak and the tests
// take screen names from, and where the setup screens find their way back.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/instrument.h"

namespace kvr9 {

struct ScreenEntry {
  const char* name;
  ScreenHandler handler;
  // The screen of the main-menu item this screen returns to on leaving;
  // nullptr for the screens that do not leave to the menu.
  ScreenHandler menuItemScreen;
};

inline constexpr std::size_t kScreenCount = 17;

const std::array<ScreenEntry, kScreenCount>& ScreenTable();

// nullptr for a handler that is not one of the instrument's screens.
const ScreenEntry* FindScreen(ScreenHandler handler);
const ScreenEntry* FindScreenByName(std::string_view name);

// The main menu's cursor for the item that opens a screen; 0 (EXIT MENU)
// for a screen no item opens.
std::uint8_t MainMenuItemOf(ScreenHandler screen);

// The main-menu item a screen returns to, following the menu's order.
std::uint8_t ReturnMenuItem(ScreenHandler screen);

}  // namespace kvr9
