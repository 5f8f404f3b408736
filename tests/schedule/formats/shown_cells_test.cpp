// Cells as the spreadsheets people make show them, and the documents' own ways (sheets, styles,
// counts), through the real kelvo-calc on files made in the test.
#include <gtest/gtest.h>

#include "tests/schedule/formats/workbook_maker.h"

namespace kelvo::schedule::testing {
namespace {

namespace fs = std::filesystem;

// Cells as the spreadsheet shows them, each file compared with the same schedule typed plainly.
class ShownCells : public Scratch {
protected:
    // kelvo-calc's output for a file.
    std::string Out(const std::string& name) {
        const CalcRun run = RunCalc(dir_, {name});
        EXPECT_LT(run.status, 2) << name << ": " << run.err;
        return run.out;
    }
    // The schedule typed plainly: the header and one row, its loss as given.
    std::string Plain(const std::string& loss) {
        std::vector<std::string> row = kRowCells;
        row[10] = loss;
        return Typed({&kHeaderCells, &row});
    }
    // kelvo-calc's output for the rows typed plainly, under the header.
    std::string Typed(std::initializer_list<const std::vector<std::string>*> rows) {
        std::string text;
        for (const std::vector<std::string>* cells : rows) {
            for (std::size_t i = 0; i < cells->size(); ++i) text += (i ? ";" : "") + (*cells)[i];
            text += "\r\n";
        }
        Write("plain.csv", text);
        return Out("plain.csv");
    }
    static std::string OdsCell(const std::string& text) {
        return "<table:table-cell office:value-type=\"string\"><text:p>" + text + "</text:p></table:table-cell>";
    }
    // A document whose row has the given cells for "ток_А" (index 2) and "потери_%" (index 10).
    void Ods(const std::string& name, const std::string& columns, const std::string& current, const std::string& loss) {
        std::string row = "<table:table-row>";
        for (std::size_t i = 0; i < kRowCells.size(); ++i)
            row += i == 2 ? current : i == 10 ? loss : OdsCell(kRowCells[i]);
        const std::string content =
            R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
            R"(xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" )"
            R"(xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" )"
            R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" )"
            R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:automatic-styles>)"
            R"(<number:percentage-style style:name="N11"><number:number number:decimal-places="1"/>)"
            R"(<number:text>%</number:text></number:percentage-style>)"
            R"(<style:style style:name="ce1" style:family="table-cell" style:data-style-name="N11"/>)"
            R"(</office:automatic-styles><office:body><office:spreadsheet><table:table table:name="Журнал">)" +
            columns + OdsRow(0, kHeaderCells) + row + "</table:table-row>" +
            "</table:table></office:spreadsheet></office:body></office:document-content>";
        WriteZip(Path(name), OdsParts({"", content}));
    }
};

TEST_F(ShownCells, PercentStylesEmptyFormulaResultsAndFormattedEmptyRows) {
    const std::string typed = Plain("2,5"), empty_current = Plain(kRowCells[10]);
    // Gnumeric writes a percent as a float with a percentage data style: the percent shown.
    const std::string float_cell =
        R"(<table:table-cell table:style-name="ce1" office:value-type="float" office:value="0.025"/>)";
    Ods("cell-style.ods", "", OdsCell(""), float_cell);
    EXPECT_EQ(Out("cell-style.ods"), typed);
    Ods("column-style.ods",
        R"(<table:table-column table:number-columns-repeated="10"/><table:table-column )"
        R"(table:default-cell-style-name="ce1"/>)",
        OdsCell(""), R"(<table:table-cell office:value-type="float" office:value="0.025"/>)");
    EXPECT_EQ(Out("column-style.ods"), typed);
    // A formula whose kept result is the empty text is an empty cell, in both formats.
    Ods("empty-formula.ods", "", R"(<table:table-cell table:formula="of:=&quot;&quot;"><text:p/></table:table-cell>)",
        OdsCell(kRowCells[10]));
    EXPECT_EQ(Out("empty-formula.ods"), empty_current);
    std::string row = "<row r=\"2\">";
    for (std::size_t i = 0; i < kRowCells.size(); ++i)
        row += i == 2 ? R"(<c r="C2" t="str"><f>IF(1,"","")</f><v></v></c>)"
                      : "<c t=\"inlineStr\"><is><t>" + kRowCells[i] + "</t></is></c>";
    // Rows formatted but empty below the data are no rows of the schedule.
    const std::string formatted = R"(<row r="3" s="1" customFormat="1"/><row r="4"><c r="B4" s="1"/></row>)";
    WriteZip(Path("empty-formula.xlsx"),
             WorkbookParts({"", kSheetStart + InlineRow(1, kHeaderCells) + row + "</row>" + formatted + kSheetEnd}));
    EXPECT_EQ(Out("empty-formula.xlsx"), empty_current);
}

// A material and a multiplicity merged down over two lines, as people do for a group: both lines
// read them; a load merged across the power and current columns cannot be read and says so.
TEST_F(ShownCells, MergedCellsReadAsShown) {
    std::vector<std::string> row = kRowCells;
    row[6] = "алюминий", row[11] = "1,25";
    const std::string typed = Typed({&kHeaderCells, &row, &row});

    std::string first = "<table:table-row>", second = "<table:table-row>";
    for (std::size_t i = 0; i < row.size(); ++i) {
        const bool merged = i == 6 || i == 11;
        first += merged ? R"(<table:table-cell table:number-rows-spanned="2" office:value-type="string"><text:p>)" +
                              row[i] + "</text:p></table:table-cell>"
                        : OdsCell(row[i]);
        second += merged ? "<table:covered-table-cell/>" : OdsCell(row[i]);
    }
    const std::string content =
        kOdsStart + OdsRow(0, kHeaderCells) + first + "</table:table-row>" + second + "</table:table-row>" + kOdsEnd;
    WriteZip(Path("merged.ods"), OdsParts({"", content}));
    EXPECT_EQ(Out("merged.ods"), typed);

    const auto xlsx_row = [&](int number, bool covered) {
        std::string text = "<row r=\"" + std::to_string(number) + "\">";
        for (std::size_t i = 0; i < row.size(); ++i) {
            const std::string ref = std::string(1, static_cast<char>('A' + i)) + std::to_string(number);
            text += covered && (i == 6 || i == 11)
                        ? "<c r=\"" + ref + "\"/>"
                        : "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + row[i] + "</t></is></c>";
        }
        return text + "</row>";
    };
    const std::string merges = R"(<mergeCells count="2"><mergeCell ref="G2:G3"/><mergeCell ref="L2:L3"/></mergeCells>)";
    WriteZip(Path("merged.xlsx"),
             WorkbookParts({"", "<worksheet><sheetData>" + InlineRow(1, kHeaderCells) + xlsx_row(2, false) +
                                    xlsx_row(3, true) + "</sheetData>" + merges + "</worksheet>"}));
    EXPECT_EQ(Out("merged.xlsx"), typed);

    // The load across two columns: the current's cell cannot be read.
    WriteZip(Path("across.xlsx"),
             WorkbookParts(
                 {"", "<worksheet><sheetData>" + InlineRow(1, kHeaderCells) + xlsx_row(2, false) +
                          R"(</sheetData><mergeCells count="1"><mergeCell ref="B2:C2"/></mergeCells></worksheet>)"}));
    EXPECT_NE(Out("across.xlsx").find("Ячейка C2 входит в объединение"), std::string::npos);
}

// Only a cell's own paragraphs are its text, and a given string value is the value: a table
// within a cell or an extension's table element ends nothing, a text box anchored to a cell is not
// its length, "алюминий" given as the value is aluminium whatever the paragraph says.
TEST_F(ShownCells, OnlyTheCellsOwnTextIsItsValue) {
    std::vector<std::string> aluminium = kRowCells;
    aluminium[6] = "алюминий";
    const std::string typed = Typed({&kHeaderCells, &aluminium, &kRowCells});
    std::string first = "<table:table-row>", second = "<table:table-row>";
    for (std::size_t i = 0; i < kRowCells.size(); ++i) {
        if (i == 6) {
            first += R"(<table:table-cell office:value-type="string" office:string-value="алюминий">)"
                     R"(<text:p>медь</text:p></table:table-cell>)";
        } else if (i == 9) {
            first += R"(<table:table-cell office:value-type="float" office:value="15"><draw:frame><draw:text-box>)"
                     R"(<text:p>10</text:p></draw:text-box></draw:frame><text:p>15<ext:table/></text:p>)"
                     R"(<table:table><table:table-row><table:table-cell/></table:table-row></table:table>)"
                     R"(</table:table-cell>)";
        } else {
            first += OdsCell(kRowCells[i]);
        }
        second += OdsCell(kRowCells[i]);
    }
    WriteZip(Path("own.ods"), OdsParts({"", kOdsStart + OdsRow(0, kHeaderCells) + first + "</table:table-row>" +
                                                second + "</table:table-row>" + kOdsEnd}));
    EXPECT_EQ(Out("own.ods"), typed);
}

// A document protected by a password, or one of another kind, is said to be so.
TEST_F(ShownCells, ProtectedAndOtherDocumentsSayWhatTheyAre) {
    const Part content{"content.xml", kOdsStart + OdsRow(0, kHeaderCells) + kOdsEnd};
    WriteZip(Path("locked.ods"),
             {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet", {}, true},
              content,
              {"META-INF/manifest.xml",
               R"(<manifest:manifest xmlns:manifest="m"><manifest:file-entry manifest:full-path="content.xml">)"
               R"(<manifest:encryption-data/></manifest:file-entry></manifest:manifest>)"}});
    const CalcRun locked = RunCalc(dir_, {"locked.ods"});
    EXPECT_EQ(locked.status, 2);
    EXPECT_NE(locked.err.find("защищен паролем"), std::string::npos) << locked.err;
    WriteZip(Path("text.ods"), {{"mimetype", "application/vnd.oasis.opendocument.text", {}, true}, content});
    const CalcRun text = RunCalc(dir_, {"text.ods"});
    EXPECT_EQ(text.status, 2);
    EXPECT_NE(text.err.find("не таблица"), std::string::npos) << text.err;
}

// Counts read strictly: "-1" was 2^64 − 1 and an empty formula cell repeated so took the program.
TEST_F(ShownCells, RepeatCountsThatAreNoCountsAreDamage) {
    for (const char* count : {"-1", "18446744073709551615", "1e9", " 5"}) {
        SCOPED_TRACE(count);
        const std::string cell =
            std::string("<table:table-cell table:formula=\"of:=1\" table:number-columns-repeated=\"") + count + "\"/>";
        WriteZip(Path("count.ods"), OdsParts({"", kOdsStart + OdsRow(0, kHeaderCells) + "<table:table-row>" + cell +
                                                      "</table:table-row>" + kOdsEnd}));
        const CalcRun run = RunCalc(dir_, {"-o", "out.csv", "count.ods"});
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find("не число ячеек листа"), std::string::npos) << run.err;
        EXPECT_TRUE(Others({"count.ods"}).empty());
    }
}

// The sheets are searched in one pass: 20 000 sheets without a header (nested tables, row groups
// and hidden sheets among them) took minutes when each was found by parsing from the start.
TEST_F(ShownCells, ManySheetsAreSearchedInOnePass) {
    const std::string typed = Typed({&kHeaderCells, &kRowCells});
    const std::string title = OdsRow(0, {"Щит 1"});
    const std::string odd = "<table:table-row-group>" + title +
                            R"(<table:table-row><table:table-cell><table:table><table:table-row>)"
                            R"(<table:table-cell/></table:table-row></table:table></table:table-cell>)"
                            "</table:table-row></table:table-row-group>";
    std::string sheets = R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
                         R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" )"
                         R"(xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" )"
                         R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0">)"
                         R"(<office:automatic-styles><style:style style:name="ta2" style:family="table">)"
                         R"(<style:table-properties table:display="false"/></style:style></office:automatic-styles>)"
                         "<office:body><office:spreadsheet>";
    for (int i = 0; i < 20000; ++i)
        sheets +=
            "<table:table table:name=\"Щит " + std::to_string(i) + "\">" + (i % 2 ? odd : title) + "</table:table>";
    // A hidden sheet with a header is passed over; the visible one after it is read.
    const std::string schedule = OdsRow(0, kHeaderCells) + OdsRow(0, kRowCells);
    sheets += R"(<table:table table:name="Скрытый" table:style-name="ta2">)" + schedule + "</table:table>";
    sheets += R"(<table:table table:name="Журнал">)" + schedule + "</table:table>";
    WriteZip(Path("sheets.ods"),
             OdsParts({"", sheets + "</office:spreadsheet></office:body></office:document-content>"}));
    EXPECT_EQ(Out("sheets.ods"), typed);
    WriteZip(Path("none.ods"), OdsParts({"", sheets.substr(0, sheets.rfind("<table:table table:name=\"Скрытый\"")) +
                                                 "</office:spreadsheet></office:body></office:document-content>"}));
    const CalcRun none = RunCalc(dir_, {"none.ods"});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("листы: «Щит 0» «Щит 1»"), std::string::npos) << none.err.substr(0, 300);
    EXPECT_NE(none.err.find("«Щит 49» и еще 19950;"), std::string::npos) << none.err.substr(0, 300);
}

// The names a document's styles keep, those of hidden sheets too, are bounded together.
TEST_F(ShownCells, HiddenSheetStylesAreBounded) {
    const std::string name(2 << 20, 's');
    Part content =
        Repeated(R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
                 R"(xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" )"
                 R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"><office:automatic-styles>)",
                 "<style:style style:name=\"" + name + "\" style:family=\"table\"><style:table-properties " +
                     "table:display=\"false\"/></style:style>",
                 20, "</office:automatic-styles></office:document-content>");
    WriteZip(Path("styles.ods"), OdsParts(content));
    const CalcRun run = RunRefused(dir_, "styles.ods", "стили ячеек занимают больше 16 МиБ");
    if (kMeasuresMemory) {
        EXPECT_LT(run.peak_kib, 128 * 1024);
    }
}

// A header in two rows: "Нагрузка" over the power and the current, every other name merged down
// both rows. The names' row is the header, the groups' row a title above it.
TEST_F(ShownCells, HeadersInTwoRows) {
    const std::string typed = Typed({&kHeaderCells, &kRowCells});
    std::vector<std::string> groups = kHeaderCells, names(kHeaderCells.size());
    groups[1] = "Нагрузка", groups[2] = "";
    names[1] = kHeaderCells[1], names[2] = kHeaderCells[2];
    std::string merges = "<mergeCells><mergeCell ref=\"B1:C1\"/>";
    for (std::size_t i = 0; i < kHeaderCells.size(); ++i)
        if (i != 1 && i != 2) {
            const std::string column(1, static_cast<char>('A' + i));
            merges += "<mergeCell ref=\"" + column + "1:" + column + "2\"/>";
        }
    merges += "</mergeCells>";
    WriteZip(Path("two-rows.xlsx"),
             WorkbookParts({"", "<worksheet><sheetData>" + InlineRow(1, groups) + InlineRow(2, names) +
                                    InlineRow(3, kRowCells) + "</sheetData>" + merges + "</worksheet>"}));
    const std::string out = Out("two-rows.xlsx");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3) << out;
    EXPECT_EQ(out.substr(out.rfind("\r\n", out.size() - 3)), typed.substr(typed.rfind("\r\n", typed.size() - 3)))
        << out;
}

}  // namespace
}  // namespace kelvo::schedule::testing
