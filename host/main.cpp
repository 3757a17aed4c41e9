// quornel: runs the Quornel filters on files and streams.
#include <iostream>
#include <string>
#include <vector>

#include "host/commands.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return quornel::host::Main(args, std::cout, std::cerr);
}
