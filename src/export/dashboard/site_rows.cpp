// The player table's rows file, loaded by the site's script as a plain script (a page opened from
// file:// may not fetch a file, but it may load a script).
#include "export/dashboard/site_names.h"
#include "export/dashboard/site_tables.h"

#include "core/control_chars.h"
#include "export/data/json_text.h"

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

} // namespace qla
