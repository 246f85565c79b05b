// The JSON of each view as members of an open object, so the view files and the dashboard's
// data share one layout.
#pragma once

#include "core/store.h"
#include "export/data/json_text.h"
#include "stats/orders.h"

#include <string_view>
#include <vector>

namespace qla {

// "name" (with colour codes) and "visibleName" (without) of a stored player.
void WritePlayerName(JsonWriter& json, const AnalysisStore& store, PlayerIndex player);
// {"format":...,"version":...,"view":view} opened; the caller adds members and closes it.
void BeginJsonDocument(JsonWriter& json, std::string_view view);

void WriteStandardMembers(JsonWriter& json, const AnalysisStore& store, StandardOrder order,
                          bool ascending);
void WriteWeaponMembers(JsonWriter& json, const AnalysisStore& store, WeaponOrder order,
                        bool ascending);
void WriteChatMembers(JsonWriter& json, const AnalysisStore& store,
                      const std::vector<ChatEntry>& chats);

} // namespace qla
