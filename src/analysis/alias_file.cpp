// Reading and writing the aliases file.
#include "analysis/alias_file.h"

#include "core/names.h"
#include "core/text.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace qla {

namespace {

constexpr std::string_view kHeader =
    "# Player aliases for qla --merge-players: join<TAB>NAME<TAB>OTHER or split<TAB>NAME\n";

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

std::string LineError(std::size_t number, const std::string& what) {
    return "line " + std::to_string(number) + ": " + what;
}

bool Writable(std::string_view name) {
    return name.find_first_of("\t\r\n") == std::string_view::npos;
}

} // namespace

AliasFileResult ParseAliases(std::string_view text) {
    AliasFileResult result;
    // Editors on Windows may begin a UTF-8 file with a byte-order mark; it is no part of a line.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    if (!IsValidUtf8(text)) {
        result.Error = "the file is not UTF-8 text";
        return result;
    }
    std::vector<AliasEntry> entries;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (TrimSpaces(line).empty() || line.starts_with('#'))
            continue;
        const std::vector<std::string_view> fields = Fields(line);
        AliasEntry entry;
        if (fields[0] == "join" && fields.size() == 3) {
            entry = AliasEntry{AliasKind::Join, std::string(NormalizeName(fields[1])),
                               std::string(NormalizeName(fields[2]))};
            if (entry.Name.empty() || entry.Other.empty()) {
                result.Error = LineError(number, "a player name is empty");
                return result;
            }
        } else if (fields[0] == "split" && fields.size() == 2) {
            entry = AliasEntry{AliasKind::Split, std::string(NormalizeName(fields[1])), {}};
            if (entry.Name.empty()) {
                result.Error = LineError(number, "a player name is empty");
                return result;
            }
        } else {
            result.Error = LineError(number, "expected join<TAB>NAME<TAB>OTHER or split<TAB>NAME");
            return result;
        }
        entries.push_back(std::move(entry));
    }
    result.Aliases = AliasList(std::move(entries));
    return result;
}

std::string FormatAliases(const AliasList& aliases) {
    std::string text(kHeader);
    for (const AliasEntry& entry : aliases.Entries()) {
        if (entry.Kind == AliasKind::Join)
            text.append("join\t").append(entry.Name).append("\t").append(entry.Other);
        else
            text.append("split\t").append(entry.Name);
        text.push_back('\n');
    }
    return text;
}

AliasFileResult ReadAliasFile(const std::string& path, bool missingIsEmpty) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        if (missingIsEmpty)
            return {};
        return {{}, "the aliases file does not exist: " + path};
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (in.is_open())
        bytes << in.rdbuf();
    if (!in.is_open() || in.bad() || !std::filesystem::is_regular_file(path, ec))
        return {{}, "the aliases file cannot be read: " + path};
    AliasFileResult result = ParseAliases(bytes.str());
    if (!result.Ok())
        result.Error = path + ": " + result.Error;
    return result;
}

std::string WriteAliasFile(const std::string& path, const AliasList& aliases) {
    for (const AliasEntry& entry : aliases.Entries())
        if (!Writable(entry.Name) || !Writable(entry.Other))
            return "the aliases file cannot hold a name with a tab or a line break";
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        const std::string text = FormatAliases(aliases);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            return "cannot write the aliases file " + path;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::remove(temporary.c_str());
        return "cannot replace the aliases file " + path + ": " + ec.message();
    }
    return {};
}

} // namespace qla
