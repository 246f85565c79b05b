// Option handling and the choice of output stream.
#include "run_loggen.h"

#include <fstream>

#include "generator.h"
#include "history.h"

namespace loggen {

int runLogGen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
    std::string error;
    if (!parseOptions(args, &options, &error)) {
        err << "qla-loggen: " << error << "\n" << usageText();
        return 2;
    }
    if (options.help) {
        out << usageText();
        return 0;
    }
    if (options.persons > 0) {
        if (!writeHistory(options, &error)) {
            err << "qla-loggen: " << error << "\n";
            return 1;
        }
        return 0;
    }
    if (options.outputPath.empty()) {
        if (!generateLog(options, out)) {
            err << "qla-loggen: writing to standard output failed\n";
            return 1;
        }
        return 0;
    }
    std::ofstream file(options.outputPath, std::ios::binary | std::ios::trunc);
    if (!file) {
        err << "qla-loggen: cannot open '" << options.outputPath << "' for writing\n";
        return 1;
    }
    if (!generateLog(options, file)) {
        err << "qla-loggen: writing '" << options.outputPath << "' failed\n";
        return 1;
    }
    return 0;
}

} // namespace loggen
