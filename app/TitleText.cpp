// The typewriter text of the title screen. Lines end with a carriage return;
// "End#1" and the character 1 close it, and the printer starts over there.
#include <string>

#include "app/QuadrovoltMain.h"

namespace {
const char* const TitleLines[] = {
    "    Q U A D R O V O L T final edition - 2006 A PENDRIX Production",
    "",
    "Free for every Linux desktop - share it with your friends",
    "",
    "The grid hums. Something out there has found the way in,",
    "and every square of it wants to meet you in person.",
    "--------------------------------",
    "You ...",
    "--------------------------------",
    "a small white ship: no lives, one energy bar, a gun that aims alone",
    "--------------------------------",
    "Controls",
    "--------------------------------",
    "Mouse  - left click - shoot, right click - move, mouse move - aim, ",
    "space - GRAVIBOMB, ESC - quit",
    "Joystick - stick move, buttons shoot, space - GRAVIBOMB, ESC - quit",
    "Keyboard - cursors - move, zxcs - shoot, space - GRAVIBOMB, ESC - quit",
    "--------------------------------",
    "The baddies ...",
    "--------------------------------",
    "Grunt (50 points) - simple blue square, only ever moves left/right or up/down,",
    "never both at once. Slow to start, it speeds up the longer it lives.",
    "",
    "GruntXY (100 points) - simple green coloured square, a descendant of Grunt able",
    "to move on both axes at once, so it cuts the corner to reach you.",
    "",
    "Boid (75 points) - small purple rotating square, very happy in small groups and",
    "never far from the flock. One shot each, but they come in numbers.",
    "",
    "Snake (1000 points) - a slippery character, tough shield medium speed, like",
    "all snakes it circles its prey before striking. Only the head can be hurt.",
    "",
    "Pod (5000 points) - green pointy star, slow moving with a tough shield, once",
    "broken it scatters a dozen children across the arena.",
    "",
    "PodChild (250 points) - children of th Pod, differing in colour from their",
    "parent and from each other, small, quick and spinning.",
    "",
    "Gravitar (10000 points) - slow, tough distorting space and time venture close",
    "and its gravity will drag you, your bullets and your enemies in.",
    "--------------------------------",
    "Thanks ...",
    "--------------------------------",
    "to everyone who played the early builds and asked for more,",
    "to the people who keep the free graphics and sound drivers going,",
    "to the authors of the small libraries this game stands on,",
    "and to whoever drew the first glowing line on a black screen.",
    "",
    "Dedicated to late nights, loud speakers and one more go.",
    "",
    "Technical notes ...",
    "One hundred game steps a second, every one of them the same length.",
    "Every line you see is drawn fresh each step, nothing is a picture.",
    "The grid is 2500 points on springs; bullets, bombs and gravity bend it.",
    "Pick ups: Vx - speed, E - energy, Bx - bullets, GrB - gravi bomb.",
    "P pauses, the cursor keys choose the start level on this screen.",
    "Your best score and highest level are saved as you play.",
    "",
    "Comments and high scores are always welcome.",
    "Now press fire, the grid is waiting.",
    "",
};

std::string BuildTitleText() {
  std::string text;
  for (const char* line : TitleLines) {
    text += line;
    text += '\r';
  }
  text += "End#1";
  text += '\x01';
  return text;
}
}  // namespace

const std::string& TitleScrollerText() {
  static const std::string text = BuildTitleText();
  return text;
}
