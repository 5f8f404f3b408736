// The web page's one way into the calculation: texts in, texts out. Every figure, word and list
// the page shows comes from here, computed by the same code kelvo-calc runs for a schedule row;
// the page's script only moves texts between its form and these calls.
//
// Requests and answers are lines of "name<TAB>value"; each answer stays valid until the next call.
#include <string>
#include <string_view>
#include <vector>

#include "core/choices.h"
#include "core/cross_section_list.h"
#include "core/hints.h"
#include "core/line_calculation.h"
#include "core/messages.h"
#include "core/number_text.h"
#include "core/protection.h"
#include "schedule/columns.h"
#include "schedule/row.h"
#include "web/module/answer.h"
#include "web/module/reference_html.h"

#define KELVO_EXPORT extern "C" __attribute__((used, visibility("default")))

namespace {

std::string answer;  // the last answer handed out

// The request's lines as a schedule's header and row: the names are the schedule's column names.
void ReadRequest(std::string_view request, std::vector<std::string_view>& names,
                 std::vector<std::string_view>& values) {
    while (!request.empty()) {
        const std::size_t end = request.find('\n');
        const std::string_view line = request.substr(0, end);
        request.remove_prefix(end == std::string_view::npos ? request.size() : end + 1);
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) continue;
        names.push_back(line.substr(0, tab));
        values.push_back(line.substr(tab + 1));
    }
}

void Put(std::string_view name, std::string_view value) { kelvo::web::AppendLine(answer, name, value); }

const char* Answer() { return answer.c_str(); }

}  // namespace

// One line calculated as a schedule row: the request names the schedule's columns ("расчет",
// "мощность_кВт", … "сопротивление_петли_Ом" for the disconnection check). The answer: every
// result column, and "рекомендация", the recommendation as the window words it.
KELVO_EXPORT const char* kelvo_calculate(const char* request) {
    using namespace kelvo::schedule;
    std::vector<std::string_view> names, values;
    ReadRequest(request, names, values);
    const ColumnMap columns(names);
    kelvo::LineResult result;
    DisconnectionFields check;
    CalculateRow(columns, values, result, /*fields_are_utf8=*/false, nullptr,
                 columns.ChecksDisconnection() ? &check : nullptr);
    ResultTexts texts, result_names;
    const std::size_t count =
        ResultFields(result, columns.ChecksDisconnection() ? &check : nullptr, texts, columns.HasConditions());
    ResultColumnNames(columns.ChecksDisconnection(), result_names, columns.HasConditions());
    answer.clear();
    for (std::size_t i = 0; i < count; ++i) Put(result_names[i], texts[i]);
    const std::string recommendation = result.message.empty() ? kelvo::RecommendationText(result) : std::string();
    Put("рекомендация", recommendation);
    // What stands beside "Рассчитать": the message, or the recommendation, the breaker and the
    // check's verdict.
    std::string summary = result.message;
    if (summary.empty()) {
        const auto add = [&](std::string_view part) {
            if (!part.empty()) summary.append(summary.empty() ? "" : ". ").append(part);
        };
        add(recommendation);
        if (!result.breaker.empty()) add("Автомат защиты " + result.breaker + " А");
        if (!check.verdict.empty()) add("Отключение при КЗ " + check.verdict);
    }
    Put("сводка", summary);
    return Answer();
}

// The sections offered for the reverse calculation: "медь"/"алюминий", "провод"/"кабель".
KELVO_EXPORT const char* kelvo_sections(const char* material, const char* conductor) {
    const auto metal = std::string_view(material) == "алюминий" ? kelvo::Material::Aluminium : kelvo::Material::Copper;
    const auto kind =
        std::string_view(conductor) == "кабель" ? kelvo::ConductorKind::Cable : kelvo::ConductorKind::Wire;
    answer.clear();
    for (const std::string_view section : kelvo::CrossSectionList(metal, kind)) answer.append(section).append("\n");
    return Answer();
}

// The voltages of a supply kind ("1ф", "3ф", "постоянный"): the one set first, then the list.
KELVO_EXPORT const char* kelvo_voltages(const char* supply) {
    const std::string_view kind(supply);
    const auto choice = kelvo::VoltagesFor(kind == "3ф"           ? kelvo::SupplyKind::ThreePhase
                                           : kind == "постоянный" ? kelvo::SupplyKind::DC
                                                                  : kelvo::SupplyKind::SinglePhase);
    answer.assign(choice.shown).append("\n");
    for (const std::string_view voltage : choice.list) answer.append(voltage).append("\n");
    return Answer();
}

// The breaker's current multiplicities, the default first.
KELVO_EXPORT const char* kelvo_multiplicities() {
    answer.assign(kelvo::kDefaultMultiplicity).append("\n");
    for (const std::string_view multiplicity : kelvo::MultiplicityList()) answer.append(multiplicity).append("\n");
    return Answer();
}

// The hint texts: "control names<TAB>text" lines.
KELVO_EXPORT const char* kelvo_hints() {
    answer.clear();
    for (const auto& hint : kelvo::hints::kHints) Put(hint.controls, hint.text);
    return Answer();
}

// A reference table (101, 102, 103) or the help page (0) as HTML.
KELVO_EXPORT const char* kelvo_reference(int which) {
    answer = kelvo::web::ReferenceHtml(which);
    return Answer();
}

// The warning under the results.
KELVO_EXPORT const char* kelvo_warning() {
    answer = std::string(kelvo::messages::kWarningFirst) + " " + kelvo::messages::kWarningSecond;
    return Answer();
}

// A number as the program writes it, and a text as it reads it ("" when it is not a number).
KELVO_EXPORT const char* kelvo_write_number(double value) {
    answer = kelvo::WriteNumber(value);
    return Answer();
}
KELVO_EXPORT const char* kelvo_read_number(const char* text) {
    const auto value = kelvo::ReadNumber(text);
    answer = value ? kelvo::WriteNumber(*value) : std::string();
    return Answer();
}
