// A small strict reader for the HTML subset the writers emit.
#include "markup_check.h"

#include "core/text.h"

#include <algorithm>
#include <array>
#include <vector>

namespace qla::robust {

namespace {

constexpr std::array<std::string_view, 11> kContainerTags{
    "html", "head", "title", "body", "h2", "table", "tr", "th", "td", "font", "a"};
constexpr std::array<std::string_view, 4> kVoidTags{"meta", "link", "br", "hr"};
constexpr std::string_view kPageStart = "<html><head><meta charset='utf-8'><title>";

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

bool IsBareValueChar(char c) {
    return IsNameChar(c) || (c >= 'A' && c <= 'Z') || c == '#';
}

template <std::size_t N>
bool OneOf(const std::array<std::string_view, N>& set, std::string_view s) {
    return std::find(set.begin(), set.end(), s) != set.end();
}

std::string At(std::size_t offset, std::string_view what) {
    return "offset " + std::to_string(offset) + ": " + std::string(what);
}

// Reads the attributes of a tag from `i` (just after its name) to its ">". The attribute text is
// generated, so a quote, "<" or "&" inside a value means log text got into it.
std::string ReadAttributes(std::string_view page, std::size_t& i) {
    while (i < page.size()) {
        if (page[i] == '>')
            return {};
        if (page[i] != ' ')
            return At(i, "unexpected character in a tag");
        ++i;
        const std::size_t nameStart = i;
        while (i < page.size() && IsNameChar(page[i]))
            ++i;
        if (i == nameStart || i >= page.size() || page[i] != '=')
            return At(i, "attribute without a value");
        ++i;
        if (i < page.size() && page[i] == '\'') {
            const std::size_t close = page.find('\'', i + 1);
            if (close == std::string_view::npos)
                return At(i, "unclosed attribute value");
            if (page.substr(i + 1, close - i - 1).find_first_of("<>&\"") != std::string_view::npos)
                return At(i, "markup inside an attribute value");
            i = close + 1;
        } else {
            const std::size_t valueStart = i;
            while (i < page.size() && IsBareValueChar(page[i]))
                ++i;
            if (i == valueStart)
                return At(i, "empty attribute value");
        }
    }
    return At(i, "unclosed tag");
}

std::string CheckEntity(std::string_view page, std::size_t i) {
    for (std::string_view entity : {"&amp;", "&lt;", "&gt;"}) {
        if (page.substr(i, entity.size()) == entity)
            return {};
    }
    return At(i, "\"&\" that starts no entity");
}

std::string CheckLineEnds(std::string_view page) {
    for (std::size_t i = 0; i < page.size(); ++i) {
        if (page[i] == '\r' && (i + 1 >= page.size() || page[i + 1] != '\n'))
            return At(i, "CR without LF");
        if (page[i] == '\n' && (i == 0 || page[i - 1] != '\r'))
            return At(i, "LF without CR");
    }
    if (!page.ends_with("\r\n"))
        return "the last line has no CR LF";
    return {};
}

} // namespace

std::string HtmlPageProblem(std::string_view page) {
    if (!page.starts_with(kPageStart))
        return "the page does not start with the page head";
    if (!IsValidUtf8(page))
        return "the page is not valid UTF-8";
    if (std::string lineEnds = CheckLineEnds(page); !lineEnds.empty())
        return lineEnds;
    std::vector<std::string_view> open;
    for (std::size_t i = 0; i < page.size(); ++i) {
        const char c = page[i];
        if (c == '>')
            return At(i, "raw \">\" in text");
        if (c == '&') {
            if (std::string entity = CheckEntity(page, i); !entity.empty())
                return entity;
            continue;
        }
        if (c != '<')
            continue;
        const std::size_t tagStart = i;
        const bool closing = i + 1 < page.size() && page[i + 1] == '/';
        i += closing ? 2 : 1;
        const std::size_t nameStart = i;
        while (i < page.size() && IsNameChar(page[i]))
            ++i;
        const std::string_view name = page.substr(nameStart, i - nameStart);
        const bool isVoid = OneOf(kVoidTags, name);
        if (!isVoid && !OneOf(kContainerTags, name))
            return At(tagStart, "unknown tag <" + std::string(name) + ">");
        if (closing) {
            if (i >= page.size() || page[i] != '>')
                return At(tagStart, "malformed closing tag");
            if (isVoid || open.empty() || open.back() != name)
                return At(tagStart, "</" + std::string(name) + "> closes nothing open");
            open.pop_back();
            continue;
        }
        if (std::string attributes = ReadAttributes(page, i); !attributes.empty())
            return attributes;
        if (!isVoid)
            open.push_back(name);
    }
    if (!open.empty())
        return "<" + std::string(open.back()) + "> is never closed";
    return {};
}

std::string TextOfMarkup(std::string_view markup) {
    std::string text;
    for (std::size_t i = 0; i < markup.size(); ++i) {
        if (markup[i] == '<') {
            const std::size_t close = markup.find('>', i);
            i = close == std::string_view::npos ? markup.size() : close;
            continue;
        }
        if (markup[i] == '&') {
            bool decoded = false;
            for (auto [entity, c] : {std::pair{std::string_view("&amp;"), '&'},
                                     std::pair{std::string_view("&lt;"), '<'},
                                     std::pair{std::string_view("&gt;"), '>'}}) {
                if (markup.substr(i, entity.size()) == entity) {
                    text.push_back(c);
                    i += entity.size() - 1;
                    decoded = true;
                    break;
                }
            }
            if (decoded)
                continue;
        }
        text.push_back(markup[i]);
    }
    return text;
}

std::string FontMarkupProblem(std::string_view html) {
    constexpr std::string_view kOpen = "<font color=#";
    constexpr std::string_view kClose = "</font>";
    bool fontOpen = false;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] == '>')
            return At(i, "raw \">\" in text");
        if (html[i] == '&') {
            if (std::string entity = CheckEntity(html, i); !entity.empty())
                return entity;
            continue;
        }
        if (html[i] != '<')
            continue;
        if (html.substr(i, kClose.size()) == kClose) {
            if (!fontOpen)
                return At(i, "</font> without <font>");
            fontOpen = false;
            i += kClose.size() - 1;
            continue;
        }
        const std::string_view colour = html.substr(i + std::min(html.size() - i, kOpen.size()), 7);
        if (html.substr(i, kOpen.size()) != kOpen || colour.size() != 7 || colour[6] != '>' ||
            colour.substr(0, 6).find_first_not_of("0123456789ABCDEF") != std::string_view::npos)
            return At(i, "\"<\" that starts no font tag");
        if (fontOpen)
            return At(i, "nested <font>");
        fontOpen = true;
        i += kOpen.size() + 6;
    }
    if (fontOpen)
        return "the last <font> is never closed";
    return {};
}

std::size_t TagCount(std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '<'));
}

} // namespace qla::robust
