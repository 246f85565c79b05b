// qla-loggen's front end as a function, so tests run it in-process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace loggen {

// Returns the exit status: 0 done, 1 the output could not be written, 2 usage error.
int runLogGen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace loggen
