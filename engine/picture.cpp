#include "engine/picture.h"

#include <stdexcept>

namespace stipplor {

Picture::Picture(int width, int height)
    : Picture(width, height,
              std::vector<PackedColor>(static_cast<std::size_t>(width < 0 ? 0 : width) *
                                       static_cast<std::size_t>(height < 0 ? 0 : height))) {}

Picture::Picture(int width, int height, std::vector<PackedColor> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {
  if (width < 0 || height < 0 ||
      pixels_.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    throw std::invalid_argument("picture size does not match its pixels");
  }
}

bool Picture::Contains(int left, int top, int width, int height) const {
  if (width <= 0 || height <= 0) return true;
  return left >= 0 && top >= 0 && static_cast<long long>(left) + width <= width_ &&
         static_cast<long long>(top) + height <= height_;
}

}  // namespace stipplor
