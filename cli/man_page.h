#pragma once

#include <string>

namespace stipplor {

// The manual page of stipplor-encode, in the man(7) macros of roff. Its synopsis and options
// come from the option table that --help is made from, so the two list the same options.
std::string ManPage();

}  // namespace stipplor
