#pragma once
// The messages the frame hands to the game object, with the key codes the
// game reads. The platform layer translates its own events into these.
#include <cstdint>

namespace Msg {
constexpr unsigned KeyDown = 0x0100;
constexpr unsigned KeyUp = 0x0101;
constexpr unsigned Timer = 0x0113;
constexpr unsigned MouseMove = 0x0200;
constexpr unsigned LButtonDown = 0x0201;
constexpr unsigned LButtonUp = 0x0202;
constexpr unsigned RButtonDown = 0x0204;
constexpr unsigned RButtonUp = 0x0205;

// Mouse messages carry the window position: x in the low word, y in the high.
constexpr std::int64_t MakePoint(int x, int y) {
  return std::int64_t(std::uint16_t(x)) | (std::int64_t(std::uint16_t(y)) << 16);
}
constexpr int PointX(std::int64_t l) { return int(std::int16_t(l & 0xFFFF)); }
constexpr int PointY(std::int64_t l) { return int(std::int16_t((l >> 16) & 0xFFFF)); }
}  // namespace Msg

namespace VK {
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int C = 'C';
constexpr int P = 'P';
constexpr int S = 'S';
constexpr int X = 'X';
constexpr int Z = 'Z';
}  // namespace VK
