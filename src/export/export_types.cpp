// The writers' error text, built from the platform's error number and description.
#include "export/export_types.h"

#include <cstring>

namespace qla {

std::string ErrorText(int errorNumber, int stage) {
    return "Error - " + std::to_string(errorNumber) + " - " + std::strerror(errorNumber) +
           "\r\nerrorcode: " + std::to_string(stage);
}

} // namespace qla
