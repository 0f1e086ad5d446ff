#include "star_field.h"

namespace starfield {
namespace {

constexpr float kFar = 32.0f;
constexpr float kNear = 0.5f;
constexpr float kSpeed = 0.18f;

}  // namespace

StarField::StarField(int count, uint32_t seed) : stars_(static_cast<std::size_t>(count)), state_(seed | 1u) {
  for (Star& star : stars_) Respawn(star, true);
}

void StarField::Resize(int width, int height) {
  width_ = width > 0 ? width : 1;
  height_ = height > 0 ? height : 1;
  Project();
}

float StarField::Random() {
  // xorshift32: plenty for scattering stars, and the same sky for the same seed.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return static_cast<float>(state_ & 0xFFFFFF) / float(0xFFFFFF);
}

void StarField::Respawn(Star& star, bool anywhere) {
  star.x = (Random() - 0.5f) * 2.0f * kFar;
  star.y = (Random() - 0.5f) * 2.0f * kFar;
  star.z = anywhere ? kNear + Random() * (kFar - kNear) : kFar;
}

void StarField::Step() {
  for (Star& star : stars_) {
    star.z -= kSpeed;
    if (star.z < kNear) Respawn(star, false);
  }
  Project();
}

void StarField::Project() {
  visible_.clear();
  const float scale = static_cast<float>(width_ > height_ ? width_ : height_) * 0.5f;
  for (Star& star : stars_) {
    const int x = width_ / 2 + static_cast<int>(star.x / star.z * scale);
    const int y = height_ / 2 + static_cast<int>(star.y / star.z * scale);
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
      // Out of view for good: it only moves further out as it approaches.
      if (star.z < kFar * 0.5f) Respawn(star, false);
      continue;
    }
    const float nearness = 1.0f - (star.z - kNear) / (kFar - kNear);  // 0 far .. 1 near
    const int size = 1 + static_cast<int>(nearness * 2.5f);
    const auto brightness = static_cast<uint8_t>(60 + nearness * 195.0f);
    visible_.push_back({x, y, size > 3 ? 3 : size, brightness});
  }
}

}  // namespace starfield
