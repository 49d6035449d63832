// The building blocks of the menu screens: title bar, text rows, setting
// rows with their highlight and scrolling, the done row, the main menu's
// scroll bar and the unit names.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/instrument.h"

namespace kvr9 {

// Name tables in fixed slots, indexed by the setting's value.
extern const char AltUnitNames[2][3];
extern const char QnhUnitNames[2][7];
extern const char AsiUnitNames[3][7];
extern const char SwitchNames[2][4];
extern const char AsiKindNames[2][4];
extern const char FilterNames[3][5];

// Safe lookups: an out-of-range setting reads as the first entry.
const char* AltUnitName(std::uint8_t altUnit);
const char* QnhUnitName(std::uint8_t qnhUnit);
const char* AsiUnitName(std::uint8_t asiUnit);
const char* SwitchName(std::uint8_t value);
const char* AsiKindName(std::uint8_t asiShowsTas);
const char* FilterName(std::uint8_t asiFilter);

// Rows of a list below its title; beyond the last the list scrolls.
inline constexpr std::uint8_t kVisibleListRows = 7;

std::uint8_t ScrollOffset(const Instrument& instrument);

void DrawTitle(Instrument& instrument, const char* text);
void DrawRowText(Instrument& instrument, std::uint8_t x, std::uint8_t y, const char* text,
                 std::uint8_t inverse);
void DrawSettingRow(Instrument& instrument, std::uint8_t valueShift, int row, const char* label,
                    const char* value);
void DrawDoneRow(Instrument& instrument, std::uint8_t y = 8);
void DrawMenuScrollBar(Instrument& instrument, std::uint8_t cursor, std::uint8_t itemCount);

// Append the unit name to a zero-terminated text in a buffer of the given size.
void AppendAltUnit(const Instrument& instrument, char* text, std::size_t size);
void AppendQnhUnit(const Instrument& instrument, char* text, std::size_t size);
void AppendAsiUnit(const Instrument& instrument, char* text, std::size_t size);

// A flight time: hours, then minutes after ':' or, with HOUR FRACT DEC,
// after '.'; never hundredths.
void FormatFlightTime(const Settings& settings, std::uint8_t hours, std::uint8_t minutes,
                      char* text, std::size_t size);

// Key helpers shared by the list screens.
std::uint8_t TakeKey(Instrument& instrument);  // the pending key, now consumed
void LeaveTo(Instrument& instrument, ScreenHandler screen, std::uint8_t cursor);
void MoveCursor(Instrument& instrument, std::uint8_t key, std::uint8_t lastRow);
std::uint8_t Flipped(std::uint8_t value);  // 0 becomes 1, anything else 0
bool IsIncreaseKey(std::uint8_t key);      // clockwise or F1 while editing
bool IsEditKey(std::uint8_t key);          // any of the four turn and arrow keys

// The keys of a list with editable rows. Outside editing the knob press
// chooses the row under the cursor and the other keys move the cursor;
// while editing the press ends the edit and the turn and arrow keys change
// the row's value.
void HandleListKey(Instrument& instrument, std::uint8_t key, std::uint8_t lastRow,
                   void (*chooseRow)(Instrument&),
                   void (*changeRow)(Instrument&, std::uint8_t key));

}  // namespace kvr9
