// Where the bundled samples are: the "Programs" directory and project that
// the subcommands use by default, and the demo session.
#pragma once

#include <string>

namespace nimbo {

// The installed samples beside the running executable (<prefix>/share/nimbo/
// samples for <prefix>/bin/nimbo) when they are there, else the samples of
// the source tree the tool was built from. No trailing slash.
std::string SamplesDir();

}  // namespace nimbo
