// Indexes stay valid beside names, so scripts written for indexes keep working.
#include "cli/page_choice_names.h"

#include "cli/nearest_choice.h"
#include "core/case_fold.h"
#include "core/text.h"

#include <algorithm>
#include <charconv>

namespace qla::cli {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return FoldCase(a) == FoldCase(b);
}

// The position of `item` among `count` options named by `nameAt`: a decimal index or a name.
template <class NameAt>
std::optional<std::size_t> FindOption(const std::string& item, std::size_t count, NameAt nameAt) {
    std::size_t index = 0;
    const auto [end, problem] = std::from_chars(item.data(), item.data() + item.size(), index);
    if (!item.empty() && problem == std::errc() && end == item.data() + item.size())
        return index < count ? std::optional(index) : std::nullopt;
    for (std::size_t i = 0; i < count; ++i)
        if (SameIgnoringCase(item, nameAt(i)))
            return i;
    return std::nullopt;
}

template <class NameAt> std::vector<std::string> NamesOf(std::size_t count, NameAt nameAt) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i)
        names.emplace_back(nameAt(i));
    return names;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// "unknown box 'kils' (did you mean 'kills'?); view standard takes ..."
std::string UnknownItem(std::string_view what, const std::string& item,
                        const std::vector<std::string>& names, const ExportViewInfo& view,
                        std::string_view extra) {
    return "unknown " + std::string(what) + " '" + item + "'" + DidYouMean(item, names) +
           "; view " + std::string(view.Name) + " takes " + Joined(names) + ", indexes 0 to " +
           std::to_string(names.size() - 1) + std::string(extra);
}

} // namespace

std::optional<std::vector<bool>> ParseCheckList(std::string_view list, const ExportViewInfo& view,
                                                std::string& error) {
    const auto nameAt = [&](std::size_t i) { return view.Checks[i].Name; };
    const std::size_t count = view.Checks.size();
    std::vector<bool> checks(count, false);
    if (SameIgnoringCase(TrimSpaces(list), "none"))
        return checks;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string item = std::string(TrimSpaces(list.substr(start, comma - start)));
        const auto index = FindOption(item, count, nameAt);
        if (!index) {
            error = UnknownItem("box", item, NamesOf(count, nameAt), view, " or none");
            return std::nullopt;
        }
        checks[*index] = true;
        start = comma + 1;
    }
    return checks;
}

std::optional<int> ParseOrderChoice(std::string_view value, const ExportViewInfo& view,
                                    std::string& error) {
    const auto nameAt = [&](std::size_t i) { return view.Orders[i].Name; };
    const std::size_t count = view.Orders.size();
    const std::string item = std::string(TrimSpaces(value));
    const auto index = FindOption(item, count, nameAt);
    if (!index) {
        error = UnknownItem("order", item, NamesOf(count, nameAt), view, "");
        return std::nullopt;
    }
    return static_cast<int>(*index);
}

} // namespace qla::cli
