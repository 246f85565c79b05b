// The chat archive's pages. A log's page holds all its messages of one kind as HTML rows, in
// groups of kChatRowsPerPage that the script shows one at a time; without the script the page is
// one long table. A speaker's cell names his entry in the table's list of links (data-speakers),
// which the script makes a link of: a link in every row would double the archive's bytes.
#include "export/dashboard/chat_pages.h"

#include "export/dashboard/site_html.h"
#include "export/dashboard/site_names.h"
#include "export/dashboard/site_tables.h"
#include "export/sink.h" // kFilePieceBytes

#include <charconv>
#include <unordered_map>

namespace qla {
namespace {

// Raised whenever ChatLogPage writes other bytes for the same inputs.
constexpr std::uint64_t kChatLogPageVersion = 2;

std::string_view KindTitle(bool voice) {
    return voice ? "Voice chat" : "Text chat";
}

void AppendCount(std::string& out, std::size_t messages) {
    out += std::to_string(messages);
    out += messages == 1 ? " message" : " messages";
}

} // namespace

std::string ChatIndexPage(const SiteParts& site, const ChatArchive& archive, bool voice) {
    std::string out;
    AppendPageStart(out, {KindTitle(voice), site.Settings.GameTitle, voice ? "voice" : "text", ""});
    std::size_t messages = 0;
    for (const ArchivedLog& log : archive.Logs())
        messages += log.Messages(voice);
    out += "<p>";
    AppendCount(out, messages);
    out += " in " + std::to_string(archive.Logs().size()) +
           (archive.Logs().size() == 1 ? " log" : " logs") +
           ". Each log's messages are on a page of their own, where they can be searched.</p>\n";
    out += "<div class=\"scroll\"><table id=\"logs\" class=\"sortable\">\n<thead><tr>"
           "<th data-type=\"text\" aria-sort=\"ascending\">Log</th>"
           "<th data-type=\"text\">File</th><th data-type=\"num\">Messages</th></tr></thead>\n"
           "<tbody>\n";
    for (const ArchivedLog& log : archive.Logs()) {
        out += "<tr><td>";
        if (log.Messages(voice) > 0) {
            out += "<a href=\"" + archive.PagePath(voice, log) + "\">";
            AppendHtmlText(out, ArchivedLogTitle(log));
            out += "</a>";
        } else {
            AppendHtmlText(out, ArchivedLogTitle(log));
        }
        out += "<td>";
        AppendHtmlText(out, log.Name);
        out += "<td>" + std::to_string(log.Messages(voice)) + "</tr>\n";
    }
    out += "</tbody>\n</table></div>\n";
    AppendPageEnd(out);
    return out;
}

std::optional<std::uint64_t> ChatLogInputs(const SiteParts& site, const ChatArchive& archive,
                                           PlayerLinkInputs& players, const ArchivedLog& log,
                                           bool voice, std::string& error) {
    PageInputs inputs(kChatLogPageVersion);
    inputs.Add(voice ? 1 : 0);
    inputs.Add(site.Settings.GameTitle);
    inputs.Add(static_cast<std::uint64_t>(log.Id));
    inputs.Add(log.Name);
    inputs.Add(log.Date);
    inputs.Add(static_cast<std::uint64_t>(archive.PageDepth()));
    inputs.Add(log.Messages(!voice) > 0 ? archive.PagePath(!voice, log) : std::string());
    inputs.Add(log.Messages(voice));
    // Rows that are only ever added to are told by their count while nothing rewrites them: the
    // long history's logs are not read again for each batch.
    if (const auto stamp = archive.StampOf(log, voice)) {
        inputs.Add(std::uint64_t{1});
        inputs.Add(stamp->Rows);
        inputs.Add(stamp->Rewrites);
        for (const PlayerIndex speaker : stamp->Speakers)
            inputs.Add(players.Of(speaker));
        return inputs.Value();
    }
    inputs.Add(std::uint64_t{0});
    const bool read = archive.ForEachMessage(
        log, voice,
        [&](const ChatLine& chat) {
            inputs.Add(players.Of(chat.Player));
            inputs.Add(chat.Location);
            inputs.Add(chat.IsTeam ? 1 : 0);
            inputs.Add(chat.Text);
        },
        error);
    if (!read)
        return std::nullopt;
    return inputs.Value();
}

std::optional<std::vector<std::string>> ChatLogPage(const SiteParts& site,
                                                    const ChatArchive& archive,
                                                    const ArchivedLog& log, bool voice,
                                                    std::string& error) {
    // The rows first, read once: the table's list of speakers, in order of first message and
    // numbered from 0, goes before them. They are kept in pieces of about a megabyte: a long
    // log's page is over a hundred megabytes, and one text grown to hold it doubled its room as
    // it went (and was copied each time).
    std::vector<std::string> pieces(1); // the page's start goes first, once the speakers are known
    std::unordered_map<PlayerIndex, std::size_t> speakerAt;
    std::vector<PlayerIndex> speakers;
    std::vector<std::string> shownNames; // by speaker: his cell's name, made once
    std::size_t number = 0;
    const auto appendNumber = [](std::string& rows, std::size_t value) {
        char digits[24];
        rows.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    };
    const bool read = archive.ForEachMessage(
        log, voice,
        [&](const ChatLine& chat) {
            if (pieces.size() == 1 || pieces.back().size() >= kFilePieceBytes)
                pieces.emplace_back().reserve(kFilePieceBytes + 1024);
            std::string& rows = pieces.back();
            if (++number % kChatRowsPerPage == 1)
                rows += "<tbody>\n";
            const auto [at, isNew] = speakerAt.try_emplace(chat.Player, speakers.size());
            if (isNew) {
                speakers.push_back(chat.Player);
                AppendShownName(shownNames.emplace_back(), site.Store.Players[chat.Player].Name);
            }
            // End tags left out, as HTML allows: a new row or group ends the one before.
            rows += "<tr><td>";
            appendNumber(rows, number);
            rows += "<td data-s=\"";
            appendNumber(rows, at->second);
            rows += "\">";
            rows += shownNames[at->second];
            rows += "<td>";
            AppendHtmlText(rows, chat.Location);
            rows += chat.IsTeam ? "<td>team<td>" : "<td>all<td>";
            AppendColouredText(rows, chat.Text);
            rows += '\n';
        },
        error);
    if (!read)
        return std::nullopt;

    const std::string root = RootFrom(archive.PageDepth());
    const std::string title = std::string(KindTitle(voice)) + ", " + ArchivedLogTitle(log);
    std::string out;
    // The style sheet shows the first group of rows until the script pages them: a browser that
    // laid out a hundred thousand rows would take a minute. Without the script, all are shown.
    AppendPageStart(out, {title, site.Settings.GameTitle, voice ? "voice" : "text", root,
                          "<noscript><style>#chat tbody+tbody{display:table-row-group}</style>"
                          "</noscript>\n"});
    out += "<p>";
    AppendCount(out, log.Messages(voice));
    out += " of the log ";
    AppendHtmlText(out, log.Name);
    out += ". <a href=\"" + root + (voice ? "voice.html" : "text.html") + "\">Every log</a>";
    if (log.Messages(!voice) > 0)
        out += " &middot; <a href=\"" + root + archive.PagePath(!voice, log) + "\">" +
               std::string(KindTitle(!voice)) + " of this log</a>";
    out += "</p>\n<p class=\"search\" hidden><label>Search this log's messages: <input "
           "type=\"search\" data-table=\"chat\" autocomplete=\"off\"></label></p>\n";
    out += "<div class=\"scroll\"><table id=\"chat\" class=\"sortable\" data-page-size=\"" +
           std::to_string(kChatRowsPerPage) + "\" data-root=\"" + root + "\" data-speakers=\"";
    for (std::size_t s = 0; s < speakers.size(); ++s) {
        if (s > 0)
            out += ' ';
        // Addresses and list anchors hold no spaces.
        AppendHtmlText(out, site.Layout.PlayerHref(speakers[s]));
    }
    out += "\">\n<thead><tr><th data-type=\"num\" aria-sort=\"ascending\">#</th>"
           "<th data-type=\"player\">Player</th><th data-type=\"text\">Location</th>"
           "<th data-type=\"text\">To</th><th data-type=\"name\">Message</th></tr></thead>\n";
    std::string end = "</table></div>\n";
    AppendPageEnd(end);
    pieces.front() = std::move(out);
    pieces.push_back(std::move(end));
    return pieces;
}

} // namespace qla
