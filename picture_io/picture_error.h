#pragma once

#include <stdexcept>

namespace stipplor {

// A file that could not be opened as a picture; what() names the cause ("no such file",
// "is a directory", "not a picture file (unsupported or damaged)", ...).
class PictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace stipplor
