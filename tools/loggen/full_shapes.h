// The full style: line shapes the game writes beyond the ones the classic analysis knows.
// Private and location-less team chat, voice lines that end with the message, chat that
// quotes an obituary, the newer death wordings, the artillery kill, renames to names with a
// colon, the game's own messages, and long names cut to 29 characters in obituaries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "name_pool.h"
#include "options.h"
#include "phrases.h"
#include "random.h"

namespace loggen {

struct FullWording {
    std::vector<std::string_view> deathTails;    // written after "<player>^7 "
    std::string_view shelledVerb;                // empty: the language has none
    std::string_view shelledWeapon;              // after the possessive
    std::vector<std::string_view> obituaryChats; // chat messages quoting an obituary phrase
    std::vector<std::string_view> gameMessages;  // after the prefix; never a player's
    std::vector<std::string_view> colonNames;    // new names of renames
    std::vector<std::string> longNames;          // more than 29 characters
};

const FullWording& fullWordingFor(Language language);

// Obituaries carry a name cut to this many characters.
inline constexpr std::size_t kObituaryNameLength = 29;

class FullShapeComposer {
  public:
    FullShapeComposer(const Phrases& phrases, const FullWording& wording, NamePool& players,
                      Random& rng);

    // Replaces line with a line of one of the full style's own shapes, drawn at random.
    void compose(std::string& line);

  private:
    // A long name whose chat line came earlier; nullptr while there is none.
    const std::string* knownLongName();

    const Phrases& phrases_;
    const FullWording& wording_;
    NamePool& players_;
    Random& rng_;
    std::vector<bool> longNameKnown_; // a long name's chat comes before its first obituary
};

} // namespace loggen
