#pragma once

#include <string>
#include <string_view>

namespace stipplor {

// The page an input picture gets in an output folder: the input's file name without its
// extension, and ".html" ("photos/cat.jpg" gives "cat.html", "a.b.gif" gives "a.b.html").
// A name that only starts with a dot keeps it (".cat" gives ".cat.html").
std::string PageName(std::string_view input);

// The page's path in `folder`.
std::string PagePath(std::string_view folder, std::string_view input);

}  // namespace stipplor
