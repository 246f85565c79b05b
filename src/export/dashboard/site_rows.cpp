// The rows files of the long tables, loaded by the site's script as plain scripts (a page opened
// from file:// may not fetch a file, but it may load a script).
#include "export/dashboard/site_names.h"
#include "export/dashboard/site_tables.h"

#include "core/control_chars.h"
#include "export/data/json_text.h"

#include <unordered_map>

namespace qla {
namespace {

// Text as the pages show it: control characters replaced, so the script's rows and the written
// rows agree (the JSON document keeps them, escaped), and rows of colour codes as one code.
void PageText(JsonWriter& writer, std::string_view text) {
    std::string scratch;
    writer.String(ShortestColourCodes(WithoutControlChars(text, scratch)));
}

// [address, name] for a player with his own page; [id, name, page] for one whose row on that
// page of the player list stands for it.
void PlayerRef(JsonWriter& writer, const AnalysisStore& store, const SiteLayout& layout,
               PlayerIndex player) {
    writer.BeginArray();
    const bool ownPage = layout.HasPage(player);
    if (ownPage) {
        const std::string& path = layout.PlayerPagePath(player);
        // players/<address>.html: the script puts the folder and the ending back.
        const std::size_t folder = path.find('/') + 1;
        writer.String(std::string_view(path).substr(folder, path.size() - folder - 5));
    } else {
        writer.Number(player);
    }
    PageText(writer, store.Players[player].Name);
    if (!ownPage)
        writer.Number(static_cast<std::int64_t>(layout.ListPageOf(player)));
    writer.EndArray();
}

void BeginRowsCall(std::string& out, std::string_view table) {
    out += "qlaRows(\"";
    out += table;
    out += "\",";
}

// Numbers the distinct values of a column in order of first use.
template <class Key> class LookupList {
  public:
    std::int64_t IndexOf(const Key& key) {
        const auto [at, added] = index_.try_emplace(key, static_cast<std::int64_t>(keys_.size()));
        if (added)
            keys_.push_back(key);
        return at->second;
    }
    const std::vector<Key>& Keys() const { return keys_; }

  private:
    std::unordered_map<Key, std::int64_t> index_;
    std::vector<Key> keys_;
};

} // namespace

std::string PlayerRowsScript(const AnalysisStore& store, const SiteLayout& layout,
                             const DashboardModel& model, const std::vector<PlayerIndex>& order) {
    std::string out;
    out.reserve(64 * order.size() + 64);
    BeginRowsCall(out, "players");
    JsonWriter writer(out);
    writer.BeginArray();
    for (const PlayerIndex index : order) {
        const PlayerSummary& p = model.Of(index);
        writer.BeginArray();
        PlayerRef(writer, store, layout, index);
        writer.Number(p.Kills);
        writer.Number(p.Deaths);
        writer.Hundredths(p.RatioHundredths);
        writer.Number(p.Teamkills);
        writer.Number(p.Suicides);
        writer.Number(p.Rating);
        writer.EndArray();
    }
    writer.EndArray();
    out += ",[]);\n";
    return out;
}

std::size_t ChatRowsPartCount(const std::vector<ChatEntry>& chats) {
    const std::size_t messages = chats.size() - 1;
    return (messages + kChatRowsPerPart - 1) / kChatRowsPerPart;
}

std::string ChatRowsPartPath(bool voice, std::size_t part) {
    return std::string("rows/") + (voice ? "voice-" : "text-") + std::to_string(part) + ".js";
}

std::string ChatRowsScript(bool voice, const std::vector<ChatEntry>& chats) {
    std::string out = "qlaRowParts(\"chat\",[";
    for (std::size_t part = 1; part <= ChatRowsPartCount(chats); ++part) {
        if (part > 1)
            out += ',';
        out += '"' + ChatRowsPartPath(voice, part) + '"';
    }
    out += "]);\n";
    return out;
}

std::string ChatRowsPart(const AnalysisStore& store, const SiteLayout& layout,
                         const std::vector<ChatEntry>& chats, std::size_t part) {
    const std::size_t begin = (part - 1) * kChatRowsPerPart + 1;
    const std::size_t end = std::min(chats.size(), begin + kChatRowsPerPart);
    std::string out;
    out.reserve(40 * (end - begin) + 64);
    BeginRowsCall(out, "chat");
    LookupList<PlayerIndex> speakers;
    LookupList<std::string_view> places;
    {
        JsonWriter writer(out);
        writer.BeginArray();
        for (std::size_t k = begin; k < end; ++k) {
            const ChatEntry& entry = chats[k];
            writer.BeginArray();
            writer.Number(static_cast<std::int64_t>(k));
            writer.Number(speakers.IndexOf(entry.Player));
            writer.Number(places.IndexOf(store.LocationOf(entry)));
            writer.Number(entry.IsTeam ? 1 : 0);
            PageText(writer, entry.Text);
            writer.EndArray();
        }
        writer.EndArray();
    }
    out += ',';
    JsonWriter writer(out);
    writer.BeginArray();
    writer.Null();
    writer.BeginArray();
    for (const PlayerIndex player : speakers.Keys())
        PlayerRef(writer, store, layout, player);
    writer.EndArray();
    writer.BeginArray();
    for (const std::string_view place : places.Keys())
        PageText(writer, place);
    writer.EndArray();
    writer.BeginArray();
    writer.String("all");
    writer.String("team");
    writer.EndArray();
    writer.Null();
    writer.EndArray();
    out += ',' + std::to_string(part - 1) + ");\n";
    return out;
}

} // namespace qla
