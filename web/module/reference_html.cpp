#include "web/module/reference_html.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "core/help_text.h"
#include "core/messages.h"
#include "core/reference_tables.h"

namespace kelvo::web {

std::string Escaped(std::string_view text) {
    std::string html;
    for (const char c : text) {
        switch (c) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            case '\n':
                html += "<br>";
                break;
            default:
                html += c;
        }
    }
    return html;
}

namespace {

// A header's cells, row by row, with their spans; the body's rows; the emphasised column marked.
std::string TableHtml(const ReferenceTable& table, int number) {
    std::string html = "<table class=\"reference\" id=\"table-" + std::to_string(number) + "\"><caption>";
    for (std::size_t i = 0; i < table.title.size(); ++i) html += (i ? " " : "") + Escaped(table.title[i]);
    html += "</caption><thead>";
    for (int row = 0; row < static_cast<int>(table.header_heights.size()); ++row) {
        // A row's cells in the order of their columns, as a table lays them out.
        std::vector<const HeaderCell*> cells;
        for (const HeaderCell& cell : table.header)
            if (cell.row == row) cells.push_back(&cell);
        std::sort(cells.begin(), cells.end(),
                  [](const HeaderCell* a, const HeaderCell* b) { return a->column < b->column; });
        html += "<tr>";
        for (const HeaderCell* each : cells) {
            const HeaderCell& cell = *each;
            html += "<th scope=\"col\"";
            if (cell.row_span > 1) html += " rowspan=\"" + std::to_string(cell.row_span) + "\"";
            if (cell.column_span > 1) html += " colspan=\"" + std::to_string(cell.column_span) + "\"";
            // A word broken with a hyphen at a line's end is one word again.
            std::string text = cell.text;
            for (std::size_t at; (at = text.find("-\n")) != std::string::npos;) text.erase(at, 2);
            html += ">" + Escaped(text) + "</th>";
        }
        html += "</tr>";
    }
    html += "</thead><tbody>";
    for (const auto& row : table.rows) {
        html += "<tr>";
        for (std::size_t c = 0; c < row.size(); ++c) {
            const bool key = static_cast<int>(c) == table.emphasised_column;
            html += key ? "<th scope=\"row\">" : "<td>";
            html += row[c] == "-" ? "—" : Escaped(row[c]);
            html += key ? "</th>" : "</td>";
        }
        html += "</tr>";
    }
    html += "</tbody></table><p class=\"warning\">" + Escaped(messages::kWarningFirst) + " " +
            Escaped(messages::kWarningSecond) + "</p>";
    return html;
}

std::string HelpHtml() {
    const std::string mail = help::kSupportMail, site = help::kSiteHost;
    return std::string("<section class=\"help\"><p class=\"subtitle\">") + Escaped(help::kSubtitle) + "</p><h3>" +
           Escaped(help::kLicenceHeading) + "</h3><p>" + Escaped(help::kLicence) + "</p><h3>" +
           Escaped(help::kScheduleHeading) + "</h3><p>" + Escaped(help::kSchedule) + "</p><p class=\"rule\">" +
           Escaped(help::kDisconnection) + "</p><p class=\"rule\">" + Escaped(help::kConditions) + "</p><p>" +
           Escaped(help::kMailCaption) + " <a href=\"mailto:" + mail + "\">" + mail + "</a></p><p>" +
           Escaped(help::kSiteCaption) + " <a href=\"https://www." + site + "\" rel=\"noopener\">www." + site +
           "</a></p></section>";
}

}  // namespace

std::string ReferenceHtml(int which) {
    switch (which) {
        case 0:
            return HelpHtml();
        case 101:
            return TableHtml(PowerTable(), 101);
        case 102:
            return TableHtml(BreakerTable(), 102);
        case 103:
            return TableHtml(WireCurrentTable(), 103);
        default:
            return {};
    }
}

}  // namespace kelvo::web
