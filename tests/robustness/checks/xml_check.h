// XML read back with Qt's reader, the way a user's tools would read an export.
#pragma once

#include <string>
#include <string_view>

namespace qla::robust {

struct XmlReading {
    std::string Error;      // "" when the document is well-formed
    std::string Text;       // all character data, decoded, in document order
    std::size_t Elements{}; // number of start tags
    std::size_t Named{};    // start tags with the name asked for
};

XmlReading ReadXml(std::string_view document, std::string_view countedName = {});

} // namespace qla::robust
