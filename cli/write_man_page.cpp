// Writes the manual page of stipplor-encode to the file named by its one argument; the build
// runs it, so the installed page always lists the options --help lists.

#include <fstream>
#include <iostream>

#include "cli/man_page.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: write_man_page FILE\n";
    return 2;
  }
  std::ofstream file(argv[1], std::ios::binary);
  file << stipplor::ManPage();
  file.close();
  if (!file) {
    std::cerr << "write_man_page: cannot write " << argv[1] << '\n';
    return 1;
  }
  return 0;
}
