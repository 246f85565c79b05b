// qla run in-process for the front-end tests: the command line without the program name, and
// what it printed and returned.
#pragma once

#include "cli/qla_app.h"

#include <QStringList>

#include <sstream>
#include <string>

namespace qla::cli {

struct QlaRun {
    int status = -1;
    std::string out, err;
};

inline QlaRun Qla(QStringList arguments) {
    arguments.prepend(QStringLiteral("qla"));
    std::ostringstream out, err;
    const int status = RunQla(arguments, out, err);
    return {status, out.str(), err.str()};
}

} // namespace qla::cli
