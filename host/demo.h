// quornel demo: what each of filters 0-8 does to a sample text.
#pragma once

#include <ostream>
#include <string>

#include "host/plugin_host.h"

namespace quornel::host {

int Demo(PluginHost& plugin, const std::string& samplePath, std::ostream& out, std::ostream& err);

}  // namespace quornel::host
