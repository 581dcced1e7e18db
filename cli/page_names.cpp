#include "cli/page_names.h"

namespace stipplor {

std::string PageName(std::string_view input) {
  while (input.size() > 1 && input.back() == '/') input.remove_suffix(1);
  input.remove_prefix(input.rfind('/') + 1);  // npos + 1 is 0: no folder
  const auto dot = input.rfind('.');
  if (dot != std::string_view::npos && dot > 0) input = input.substr(0, dot);
  return std::string(input) + ".html";
}

std::string PagePath(std::string_view folder, std::string_view input) {
  std::string path(folder);
  if (!path.ends_with('/')) path.push_back('/');
  return path + PageName(input);
}

}  // namespace stipplor
