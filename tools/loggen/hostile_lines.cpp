// The catalogue of hostile lines.
#include "hostile_lines.h"

#include <string_view>

namespace loggen {

namespace {

using namespace std::string_view_literals;

// Fixed lines; the analyzer's cuts have to clamp on every one of them.
constexpr std::string_view kFixedLines[] = {
    // Nothing before the verb phrase, or nothing after it.
    "[skipnotify]was killed by Al^7's MP40",
    "[skipnotify]was stabbed by",
    "[skipnotify]was blasted by 's support fire",
    "[skipnotify]was killed by",
    "[skipnotify] killed himself.",
    "[skipnotify]died.",
    "[skipnotify]fell to his death.",
    "[skipnotify]WAS KILLED BY TEAMMATE^7",
    "[skipnotify]^7 WAS KILLED BY TEAMMATE^7 Al",
    "[skipnotify]WAS KILLED BY TEAMMATE",
    "[skipnotify]wurde getötet von Al - MP40",
    "[skipnotify]wurde erledigt von",
    "[skipnotify]starb.",
    "[skipnotify]stürzte sich zu Tode..",
    "[skipnotify]STARB DURCH TEAMKAMERAD^7",
    "[skipnotify]x STARB DURCH TEAMKAMERAD",
    // Chat forms cut short.
    "[skipnotify]:",
    "[skipnotify]: ):",
    "[skipnotify]:):",
    "[skipnotify]: Bob^7 (Bunker: ^2no closing parenthesis ",
    "[skipnotify]: (((((): ^2",
    "[skipnotify](",
    "[skipnotify](^7) (",
    "[skipnotify]():^5",
    "[skipnotify](Bob^7) (): ^5",
    "[skipnotify]^7: ^2",
    "[skipnotify]x:",
    "[skipnotify]",
    "[skip",
    "[skipnotify]renamed to",
    "[skipnotify]hat sich umbenannt in",
    "[skipnotify]disconnected",
    "[skipnotify]timed out",
    "[skipnotify] by ",
    "[skipnotify] von ",
    "[skipnotify]Fire Mission:",
    "[skipnotify]Pilot:",
    "[skipnotify]server:",
    // Markup and text that must stay text on a page or in XML.
    "[skipnotify]Bob^7: ^2<script>alert(document.cookie)</script>",
    "[skipnotify]Bob^7: ^2</td></tr></table><h1>owned</h1>",
    "[skipnotify]Bob^7: ^2]]><!-- & &amp; &#0; \"quoted\" 'single'",
    "[skipnotify]<b>Bold</b>^7 was killed by <i>It</i>^7's MP40",
    "[skipnotify]: A&B^7 (<Base>): ^2\"hi\" & <bye> ",
    "[skipnotify](<img src=x>^7) (Bunker): ^5&nbsp;",
    // Phrases in a chat text: the phrase tests come before the colon test.
    "[skipnotify]Bob^7: ^2he was killed by me's MP40",
    "[skipnotify]Bob^7: ^2I died.",
    "[skipnotify]Bob^7: ^2WAS KILLED BY TEAMMATE^7 Al",
    // Colour codes everywhere.
    "[skipnotify]^^^^^^^7 was killed by ^^^^7's MP40",
    "[skipnotify]^1^2^3^4^5^6^7^8^9^0 died.",
    "[skipnotify]^7^7^7 WAS KILLED BY TEAMMATE^7^7^7",
    // Control bytes (never CR or LF) and invalid UTF-8.
    "[skipnotify]\0\0\0 was killed by \0's MP40"sv,
    "[skipnotify]Bob\x01\x02\x03^7: ^2\x07\x08\x0b\x0c\x1b[2J\x7f",
    "\x00\x1f\x00\x1f"sv,
    "[skipnotify]Bad\xff\xfe^7 was killed by Worse\xc0\xaf^7's Sten",
    "[skipnotify]Half\xc3^7 drowned.",
    "[skipnotify]: Surr\xed\xa0\x80^7 (Bunker): ^2\xf8\x88\x80\x80\x80 ",
    "[skipnotify]\xef\xbb\xbf"
    "BOM in the middle^7: ^2hi",
    "\xe2\x80\xa8\xe2\x80\xa9 line and paragraph separators",
};

} // namespace

void composeHostileLine(Random& rng, const Phrases& phrases, std::string& line) {
    line.clear();
    // Mostly the catalogue; sometimes a well-formed kill in this language with a broken tail.
    if (rng.chance(85)) {
        line.append(rng.pick(kFixedLines));
        return;
    }
    const KillForm& form = rng.pick(phrases.kills);
    line.append("[skipnotify]Bob^7 ").append(form.verb);
    if (rng.chance(50))
        line.append(" ").append(phrases.possessive).append(form.weapon);
}

void composeHugeLine(std::size_t length, std::string& line) {
    constexpr std::string_view kHead = "[skipnotify]";
    constexpr std::string_view kTail = "^7 was killed by Al^7's MP40";
    line.assign(kHead);
    if (length > kHead.size() + kTail.size())
        line.append(length - kHead.size() - kTail.size(), 'N');
    line.append(kTail);
    line.resize(length);
}

void composeCodeRunLine(std::size_t codes, int which, std::string& line) {
    // Every colour in turn, in the forms players type them.
    constexpr std::string_view kCodes = "1234567890bqdun#*";
    line.assign("[skipnotify]Al^7 was killed by ");
    line.reserve(line.size() + 2 * codes + 32);
    for (std::size_t i = 0; i < codes; ++i)
        line.append(1, '^').append(1, kCodes[i % kCodes.size()]);
    line.append("Coder").append(std::to_string(which)).append("^7's MP40");
}

} // namespace loggen
