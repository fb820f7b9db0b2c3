// Keyboard and mouse input as the scene sees it: virtual key codes, the
// shift state and mouse buttons. Window layers map their own events onto
// these.
#pragma once

#include <cstdint>

enum TznVirtualKey : uint16_t {
  vkBack = 8,
  vkTab = 9,
  vkReturn = 13,
  vkShift = 16,
  vkControl = 17,
  vkMenu = 18,
  vkEscape = 27,
  vkSpace = 32,
  vkPrior = 33,  // Page Up
  vkNext = 34,   // Page Down
  vkEnd = 35,
  vkHome = 36,
  vkLeft = 37,
  vkUp = 38,
  vkRight = 39,
  vkDown = 40,
  vkInsert = 45,
  vkDelete = 46,
  vkNumpad0 = 96,
  vkMultiply = 106,
  vkAdd = 107,       // numeric-pad +
  vkSubtract = 109,  // numeric-pad -
  vkDecimal = 110,
  vkDivide = 111,
  vkF1 = 112,
  vkOemPlus = 187,
  vkOemMinus = 189,
};

// The shift state of a key or mouse event, as a set of bits.
enum TznShiftFlag : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};
using TznShiftState = unsigned;

enum class TznMouseButton { mbLeft, mbRight, mbMiddle };
