#pragma once
// The stars: points in a box in front of the viewer that move towards it and are projected onto
// the screen; a star that passes the viewer or leaves the view starts again far away.
#include <cstdint>
#include <vector>

namespace starfield {

struct ScreenStar {
  int x, y;
  int size;            // 1..3 pixels, nearer stars are larger
  uint8_t brightness;  // 0..255, nearer stars are brighter
};

class StarField {
 public:
  StarField(int count, uint32_t seed);
  void Resize(int width, int height);
  // Advances by one frame.
  void Step();
  // The visible stars of the current frame.
  const std::vector<ScreenStar>& Visible() const { return visible_; }

 private:
  struct Star {
    float x, y, z;
  };
  void Respawn(Star& star, bool anywhere);
  float Random();  // 0..1
  void Project();

  std::vector<Star> stars_;
  std::vector<ScreenStar> visible_;
  uint32_t state_;
  int width_ = 1, height_ = 1;
};

}  // namespace starfield
