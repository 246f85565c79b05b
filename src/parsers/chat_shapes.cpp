// Chat lines by their shape. A message begins after the first colon that follows the sender's
// part of the line and is followed by an optional blank and a colour code; what comes after it
// is never searched, so a message that holds an obituary phrase or a colon stays a message.
#include "chat_shapes.h"

#include "core/byte_search.h"
#include "core/names.h"
#include "parsers/classifier.h"

namespace qla {

namespace {

std::string_view TrimLeftBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return text;
}

// Blanks and colour codes at the end of a name part ("Name ^3" in front of a voice location).
std::string_view StripNameEnd(std::string_view text) {
    for (;;) {
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
        if (text.size() < 2 || text[text.size() - 2] != '^' || !IsColourCodeChar(text.back()))
            return text;
        text.remove_suffix(2);
    }
}

std::string_view WithoutTrailingCr(std::string_view text) {
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    return text;
}

struct Separator {
    std::string_view Head;    // the sender's part, in front of the colon
    std::string_view Colour;  // "^2", "^5", ...
    std::string_view Message; // after the colour code
};

// The first colon after which a colour code follows (with or without one blank between) and
// whose head the shape accepts.
template <typename AcceptHead>
std::optional<Separator> FindSeparator(std::string_view body, AcceptHead accept) {
    for (std::size_t colon = FindByte(body, ':'); colon != std::string_view::npos;
         colon = FindByte(body, ':', colon + 1)) {
        std::size_t code = colon + 1;
        if (code < body.size() && body[code] == ' ')
            ++code;
        if (code + 1 >= body.size() || body[code] != '^' || !IsColourCodeChar(body[code + 1]))
            continue;
        const std::string_view head = body.substr(0, colon);
        if (accept(head))
            return Separator{head, body.substr(code, 2), WithoutTrailingCr(body.substr(code + 2))};
    }
    return std::nullopt;
}

struct NameAndLocation {
    std::string_view Name;
    std::string_view Location;
};

// "(Name^7)", "(Name^7) (Location)" or "(Name^7)(Location)", with `open`/`close` the brackets
// around the name. The name ends at the first "^7" + close after which only a location follows.
std::optional<NameAndLocation> SplitBracketedHead(std::string_view head, char open, char close) {
    if (head.size() < 4 || head.front() != open)
        return std::nullopt;
    const char closing[] = {'^', '7', close};
    const std::string_view closer(closing, 3);
    for (std::size_t at = FindBytes(head, closer, 1); at != std::string_view::npos;
         at = FindBytes(head, closer, at + 1)) {
        const std::string_view name = head.substr(1, at - 1);
        std::string_view rest = head.substr(at + 3);
        if (rest.empty())
            return NameAndLocation{name, {}};
        if (rest.front() == ' ')
            rest.remove_prefix(1);
        if (rest.size() >= 2 && rest.front() == '(' && rest.back() == ')')
            return NameAndLocation{name, rest.substr(1, rest.size() - 2)};
    }
    return std::nullopt;
}

// "Name^7 (Location)", "Name ^3(Location)", "(Name^7)(Location)", "Name^7" or "(Name^7)".
NameAndLocation SplitVoiceHead(std::string_view head) {
    head = TrimLeftBlanks(head);
    std::string_view name = head;
    std::string_view location;
    const std::size_t open = RFindByte(head, '(');
    // A head ending in ")" without any "(" ("Smile :)") is a name with no location.
    if (!head.empty() && head.back() == ')' && open != std::string_view::npos) {
        if (StripNameEnd(head.substr(0, open)).empty()) {
            name = head.substr(1, head.size() - 2); // "(Name^7)": a team sender, no location
        } else {
            location = head.substr(open + 1, head.size() - open - 2);
            name = head.substr(0, open);
        }
    }
    // The team form wraps the name itself: "(Name^7)(Location)".
    const std::string_view wrapped = StripNameEnd(name);
    if (wrapped.size() > 4 && wrapped.front() == '(' && EndsWithBytes(wrapped, "^7)"))
        name = wrapped.substr(1, wrapped.size() - 2);
    return NameAndLocation{StripNameEnd(name), location};
}

bool IsNamePart(std::string_view head) {
    return head.size() > 2 && EndsWithBytes(head, "^7");
}

std::optional<ChatShape> VoiceShape(std::string_view body) {
    const auto separator = FindSeparator(body, [](std::string_view head) {
        head = TrimLeftBlanks(head);
        return !head.empty() && (head.back() == ')' || IsNamePart(head));
    });
    if (!separator)
        return std::nullopt;
    const NameAndLocation sender = SplitVoiceHead(separator->Head);
    ChatShape shape;
    shape.Voice = true;
    shape.IsTeam = separator->Colour != "^2";
    shape.Name = sender.Name;
    shape.Location = sender.Location;
    shape.Message = separator->Message;
    return shape;
}

std::optional<ChatShape> BracketedTextShape(std::string_view body, char open, char close) {
    std::optional<NameAndLocation> sender;
    const auto separator = FindSeparator(body, [&](std::string_view head) {
        sender = SplitBracketedHead(head, open, close);
        return sender.has_value();
    });
    if (!separator)
        return std::nullopt;
    ChatShape shape;
    shape.IsTeam = true;
    shape.Private = open == '[';
    shape.Name = sender->Name;
    shape.Location = sender->Location;
    shape.Message = separator->Message;
    return shape;
}

std::optional<ChatShape> PublicTextShape(std::string_view body) {
    const auto separator = FindSeparator(body, IsNamePart);
    if (!separator)
        return std::nullopt;
    ChatShape shape;
    shape.Name = separator->Head.substr(0, separator->Head.size() - 2);
    shape.Message = separator->Message;
    return shape;
}

} // namespace

std::optional<ChatShape> RecogniseChatShape(std::string_view line) {
    if (!StartsWithBytes(line, kSkipNotify))
        return std::nullopt;
    const std::string_view body = line.substr(kSkipNotify.size());
    if (body.empty())
        return std::nullopt;
    if (body.front() == ':')
        return VoiceShape(body.substr(1));
    // A name may itself begin with a bracket ("(ABC)Bob"), so a line that is no team or private
    // shape can still be a public one.
    if (body.front() == '(' || body.front() == '[') {
        if (auto shape = BracketedTextShape(body, body.front(), body.front() == '(' ? ')' : ']'))
            return shape;
    }
    return PublicTextShape(body);
}

} // namespace qla
