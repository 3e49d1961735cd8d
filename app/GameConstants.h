#pragma once
// What a host needs to know to drive the game, without the game object: the
// states the game runs in, the control modes and the key codes it reads (the
// Windows-style virtual-key codes the game has always used; a host maps its
// own keys onto them).
#include <cstdint>

namespace GameState {
constexpr std::uint8_t Quit = 0;
constexpr std::uint8_t Title = 1;
constexpr std::uint8_t Playing = 2;
constexpr std::uint8_t GameOver = 3;
}  // namespace GameState

namespace InputModes {
constexpr std::uint8_t Keyboard = 0;
constexpr std::uint8_t Mouse = 1;
constexpr std::uint8_t Joystick = 2;
}  // namespace InputModes

namespace VK {
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int C = 'C';
constexpr int P = 'P';
constexpr int R = 'R';
constexpr int S = 'S';
constexpr int X = 'X';
constexpr int Z = 'Z';
}  // namespace VK
