// The views' part of qla export's help, written from the views' table.
#include "cli/export_view_help.h"

#include "cli/command_table.h"
#include "export/export_views.h"

#include <vector>

namespace qla::cli {

std::string ExportViewDetails() {
    constexpr std::size_t kIndent = 16;
    // The items after the label, a line broken only between items.
    const auto line = [](const std::string& label, const std::vector<std::string>& items) {
        std::string text = "      " + label;
        text.resize(kIndent, ' ');
        std::size_t column = kIndent;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::string item = items[i] + (i + 1 < items.size() ? "," : "");
            if (i > 0 && column + 1 + item.size() > kHelpWidth) {
                text += '\n' + std::string(kIndent, ' ');
                column = kIndent;
            } else if (i > 0) {
                text += ' ';
                ++column;
            }
            text += item;
            column += item.size();
        }
        return text + '\n';
    };
    std::string text = "Views, the formats they take, and their --checks and --order values:\n";
    for (const ExportViewInfo& view : ExportViews()) {
        std::vector<std::string> formats, checks, orders;
        for (const ViewWriter& writer : view.Writers)
            formats.emplace_back(InfoOf(writer.Format).Name);
        for (std::size_t i = 0; i < view.Checks.size(); ++i)
            checks.push_back(std::to_string(i) + ' ' + std::string(view.Checks[i].Name));
        for (std::size_t i = 0; i < view.Orders.size(); ++i) {
            if (!view.Orders[i].Offered)
                continue;
            orders.push_back(std::to_string(i) + ' ' + std::string(view.Orders[i].Name) +
                             (static_cast<int>(i) == view.DefaultOrder ? " (default)" : ""));
        }
        text += "  " + std::string(view.Name) + "\n" + line("formats:", formats);
        if (!checks.empty())
            text += line("checks:", checks);
        if (!orders.empty())
            text += line("order:", orders);
    }
    return text;
}

} // namespace qla::cli
