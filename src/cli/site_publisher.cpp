// Staging and swapping an exported site.
#include "cli/site_publisher.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>

namespace qla::cli {

namespace {

namespace fs = std::filesystem;

// Puts `staged` in the place of `site`. Both exist: they trade places at once, and the old
// pages end up in `staged`. A file system that cannot exchange (EINVAL) gets two renames, with a
// moment in between where the site is missing rather than mixed.
bool SwapIn(const fs::path& staged, const fs::path& site, std::string& error) {
    std::error_code code;
    if (!fs::exists(site, code)) {
        if (std::rename(staged.c_str(), site.c_str()) == 0)
            return true;
        error = "cannot move the new site into place: " + std::string(std::strerror(errno));
        return false;
    }
    if (::renameat2(AT_FDCWD, staged.c_str(), AT_FDCWD, site.c_str(), RENAME_EXCHANGE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) {
        error = "cannot swap the new site in: " + std::string(std::strerror(errno));
        return false;
    }
    const fs::path old = site.string() + ".qla-old";
    fs::remove_all(old, code);
    if (std::rename(site.c_str(), old.c_str()) != 0 ||
        std::rename(staged.c_str(), site.c_str()) != 0) {
        error = "cannot move the new site into place: " + std::string(std::strerror(errno));
        return false;
    }
    fs::rename(old, staged, code);
    return true;
}

} // namespace

bool PublishSite(const AnalysisStore& store, ExportRequest request, std::string& error) {
    fs::path site(request.Path);
    if (!site.has_filename())
        site = site.parent_path(); // "site/" names the folder "site"
    const fs::path staged = site.string() + ".qla-new";
    std::error_code code;
    fs::remove_all(staged, code); // left by a run that was killed while writing
    if (!fs::create_directories(staged, code) && code) {
        error = "cannot create " + staged.string() + ": " + code.message();
        return false;
    }
    request.Path = staged.string();
    const ExportOutcome outcome = RunExport(store, request);
    if (!outcome.Ok()) {
        error = "cannot write the site into " + staged.string() + ": ";
        if (!outcome.File.Ok())
            error += outcome.File.Error;
        else if (!outcome.Site.Refused.empty())
            error += outcome.Site.Refused;
        else if (!outcome.Site.Errors.empty())
            error +=
                outcome.Site.Errors.front().FileName + ": " + outcome.Site.Errors.front().Error;
        fs::remove_all(staged, code);
        return false;
    }
    if (!SwapIn(staged, site, error))
        return false;
    fs::remove_all(staged, code); // now the old pages
    return true;
}

} // namespace qla::cli
