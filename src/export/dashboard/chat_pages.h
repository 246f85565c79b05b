// The chat archive's pages: the index of each kind (voice.html, text.html) and one page per log
// and kind with all its messages.
#pragma once

#include "export/dashboard/chat_archive.h"
#include "export/dashboard/page_inputs.h"
#include "export/dashboard/site_pages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qla {

// The rows the site's script shows at a time on a log's page.
inline constexpr std::size_t kChatRowsPerPage = 1000;

std::string ChatIndexPage(const SiteParts& site, const ChatArchive& archive, bool voice);
// The page in pieces, its bytes one after the other: the rows, most of a long log's page (tens
// of megabytes), are not copied into one text. Nullopt with `error` when the log's messages
// cannot be read.
std::optional<std::vector<std::string>> ChatLogPage(const SiteParts& site,
                                                    const ChatArchive& archive,
                                                    const ArchivedLog& log, bool voice,
                                                    std::string& error);
// A hash (PageInputs) of everything ChatLogPage(site, archive, log, voice) is built from.
std::optional<std::uint64_t> ChatLogInputs(const SiteParts& site, const ChatArchive& archive,
                                           PlayerLinkInputs& players, const ArchivedLog& log,
                                           bool voice, std::string& error);

} // namespace qla
