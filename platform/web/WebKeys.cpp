#include "platform/web/WebKeys.h"

#include <cstring>

#include "app/GameConstants.h"

int VirtualKeyFromCode(const char* code) {
  if (!code) return -1;
  const std::size_t n = std::strlen(code);
  if (n == 4 && std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z') return code[3];
  if (n == 6 && std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9') return code[5];
  if ((n == 2 || n == 3) && code[0] == 'F') {
    int f = 0;
    for (std::size_t i = 1; i < n; ++i) {
      if (code[i] < '0' || code[i] > '9') return -1;
      f = f * 10 + (code[i] - '0');
    }
    return f >= 1 && f <= 12 ? 112 + f - 1 : -1;
  }
  struct TNamed {
    const char* Code;
    int Vk;
  };
  static constexpr TNamed kNamed[] = {
      {"Escape", VK::Escape},
      {"Space", VK::Space},
      {"ArrowLeft", VK::Left},
      {"ArrowUp", VK::Up},
      {"ArrowRight", VK::Right},
      {"ArrowDown", VK::Down},
      {"Enter", 13},
      {"NumpadEnter", 13},
      {"Backspace", 8},
      {"Tab", 9},
      {"ShiftLeft", 16},
      {"ShiftRight", 16},
      {"ControlLeft", 17},
      {"ControlRight", 17},
      {"AltLeft", 18},
      {"AltRight", 18},
  };
  for (const TNamed& k : kNamed)
    if (std::strcmp(code, k.Code) == 0) return k.Vk;
  return -1;
}

bool PageKeepsKey(int vk) {
  if (vk >= 'A' && vk <= 'Z') return true;
  if (vk >= '0' && vk <= '9') return true;
  switch (vk) {
    case VK::Escape:
    case VK::Space:
    case VK::Left:
    case VK::Up:
    case VK::Right:
    case VK::Down:
    case 8:
    case 9:
    case 13: return true;
    default: return false;
  }
}
