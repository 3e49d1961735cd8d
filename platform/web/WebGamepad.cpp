#include "platform/web/WebGamepad.h"

#include <emscripten.h>

namespace {

// What the page copies of each pad slot, in doubles.
enum : int {
  kConnected,
  kStandard,
  kAxisCount,
  kButtonCount,
  kAxes,                    // axes 0..3
  kButtons = kAxes + 4,     // buttons 0..3 pressed (0 or 1)
  kTrigger = kButtons + 4,  // button 7's value, the right trigger on a standard pad
  kSlotSize
};
constexpr int kSlots = 4;

// Copies the browser's pads into `out` (kSlots slots of kSlotSize); returns
// how many slots the browser lists, at most kSlots. Browsers without the
// Gamepad API (or that refuse it to the page) list none.
EM_JS(int, page_read_gamepads, (double* out, int slots, int slotSize), {
  var pads = [];
  try {
    pads = (navigator.getGamepads && navigator.getGamepads()) || [];
  } catch (e) {
    pads = [];
  }
  var n = Math.min(pads.length, slots);
  for (var i = 0; i < n; ++i) {
    var p = pads[i], base = (out >> 3) + i * slotSize;
    for (var k = 0; k < slotSize; ++k) HEAPF64[base + k] = 0;
    if (!p || !p.connected) continue;
    HEAPF64[base + 0] = 1;
    HEAPF64[base + 1] = p.mapping == "standard" ? 1 : 0;
    HEAPF64[base + 2] = p.axes.length;
    HEAPF64[base + 3] = p.buttons.length;
    for (var a = 0; a < 4 && a < p.axes.length; ++a) HEAPF64[base + 4 + a] = p.axes[a];
    for (var b = 0; b < 4 && b < p.buttons.length; ++b) HEAPF64[base + 8 + b] = p.buttons[b].pressed ? 1 : 0;
    if (p.buttons.length > 7) HEAPF64[base + 12] = p.buttons[7].value;
  }
  return n;
});

}  // namespace

TJoyReading TWebGamepad::Read() {
  double slots[kSlots][kSlotSize] = {};
  const int count = page_read_gamepads(&slots[0][0], kSlots, kSlotSize);
  bool connected[kSlots] = {};
  for (int i = 0; i < count; ++i) connected[i] = slots[i][kConnected] != 0;
  const int chosen = Choice.Choose(connected, std::size_t(count > 0 ? count : 0));
  TJoyReading reading;
  if (chosen < 0) return reading;
  const double* pad = slots[chosen];
  reading.Ok = true;
  if (pad[kStandard] != 0) {
    // The standard mapping: buttons 0..3 are the bottom, right, left and top face buttons.
    TPadRaw raw;
    raw.LeftX = AxisFromUnit(pad[kAxes + 0]);
    raw.LeftY = AxisFromUnit(pad[kAxes + 1]);
    raw.RightX = AxisFromUnit(pad[kAxes + 2]);
    raw.RightY = AxisFromUnit(pad[kAxes + 3]);
    raw.RightTrigger = TriggerFromUnit(pad[kTrigger]);
    raw.South = pad[kButtons + 0] != 0;
    raw.East = pad[kButtons + 1] != 0;
    raw.West = pad[kButtons + 2] != 0;
    raw.North = pad[kButtons + 3] != 0;
    reading.Info = ReadStandardPad(raw);
  } else {
    int axes[3];
    bool buttons[4];
    const int axisCount = pad[kAxisCount] < 3 ? int(pad[kAxisCount]) : 3;
    const int buttonCount = pad[kButtonCount] < 4 ? int(pad[kButtonCount]) : 4;
    for (int a = 0; a < axisCount; ++a) axes[a] = AxisFromUnit(pad[kAxes + a]);
    for (int b = 0; b < buttonCount; ++b) buttons[b] = pad[kButtons + b] != 0;
    reading.Info = ReadPlainJoystick(axes, std::size_t(axisCount), buttons, std::size_t(buttonCount));
  }
  return reading;
}
