#pragma once

#include <QtGlobal>

class QKeyEvent;
class QWidget;

// The program's key vocabulary: key-down handlers receive a virtual key code
// and a shift state, character handlers a character code. The widgets of this
// folder translate Qt key events into these numbers in one place, here.
namespace VKey {
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Menu = 18; // Alt
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int F1 = 112; // F2..F12 follow: 113..123
} // namespace VKey

// Shift-state bits of a key-down handler.
namespace VShift {
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
} // namespace VShift

// The virtual key code of a key event: letters are their capital (65..90),
// digits 48..57 (keypad digits 96..105), the keys of VKey as listed; 0 for a
// key without a code.
int virtualKeyCode(const QKeyEvent* event);
// The VShift bits of the event's modifiers.
int shiftState(const QKeyEvent* event);
// The character code a key press types: the character's code (Latin-1 and
// beyond), 13 for Enter, 27 for Escape, 8 for Backspace, 32 for Space; 0 when
// the key types nothing (arrows, Delete, function keys, bare modifiers).
int characterCode(const QKeyEvent* event);

// Delivers a typed character to a widget as if the user had pressed the key:
// a key press and release carrying that text are posted, so they arrive once
// the current handler has returned (and after a pending focus change).
void postCharacter(QWidget* target, int characterCode);
// The same, delivered before it returns: keys the user typed meanwhile, still
// queued, come after it and can never overtake it.
void sendCharacter(QWidget* target, int characterCode);
