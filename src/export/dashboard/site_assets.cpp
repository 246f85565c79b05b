// The site's style sheet and script, as the build embedded them from site.css and site.js.
#include "export/dashboard/site_assets.h"

#include "embedded/SiteScript.h"
#include "embedded/SiteStyleSheet.h"

namespace qla {

std::string_view SiteStyleSheet() {
    return embedded::kSiteStyleSheet;
}

std::string_view SiteScript() {
    return embedded::kSiteScript;
}

} // namespace qla
