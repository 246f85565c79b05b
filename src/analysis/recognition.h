// Which rules the analysis recognises lines by. Classic follows the original phrase tables to
// the letter; full recognises the line shapes the game really writes (chat by its shape, the
// newer death wordings, names the obituaries cut short).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qla {

enum class Recognition : std::uint8_t { Classic = 0, Full = 1 };

// "classic" or "full": the word qla takes and a database stores.
std::string_view RecognitionText(Recognition recognition);

// The mode named by `text` ("classic" or "full", exactly); nullopt for anything else.
std::optional<Recognition> RecognitionFromText(std::string_view text);

} // namespace qla
