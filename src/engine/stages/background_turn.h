#pragma once

#include "engine/image/image.h"
#include "platform/system_memory.h"

namespace lumbrix {

struct Rgb;

// Memory counted on by a turn through 16 bits while it runs, so that turns at once in a batch's
// workers do not each count on the same free memory: held when bytes fit in available less what
// the turns under way hold.
class TurnRoom {
public:
  TurnRoom(qint64 bytes, qint64 available);
  ~TurnRoom();
  TurnRoom(const TurnRoom &) = delete;
  TurnRoom &operator=(const TurnRoom &) = delete;
  bool held() const { return bytes_ > 0; }

private:
  qint64 bytes_ = 0;
};

// The picture turned by angle (1 to 359) degrees onto a canvas that holds all of it, the corners
// filled with back (transparent where the picture has alpha). A FIT_RGBA16 picture stays one;
// any other must be 24 or 32 bits, and is turned at 16 bits and rounded once where the TurnRoom
// for it is held. Empty when there is no memory for it.
Image turn_on_background(Image image, int angle, Rgb back, qint64 available = memory_headroom());

} // namespace lumbrix
