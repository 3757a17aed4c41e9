// The command line of quornel: list, run, table, demo, --version, --help.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quornel::host {

int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quornel::host
