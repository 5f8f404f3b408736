// What every spreadsheet format read promises, checked once per format through the real kelvo-calc
// on files made in the test: bombs refused within bounded memory, damage called damage, wide rows
// and long gaps read a row at a time, and nothing that is not text ever read as text.
#include <gtest/gtest.h>

#include "tests/schedule/formats/workbook_maker.h"

namespace kelvo::schedule::testing {
namespace {

namespace fs = std::filesystem;

// One format as the tests make its files: the sheet around its rows, a row, and the rows that go
// to a sheet's edges.
struct Format {
    const char* ending;
    std::string start, end;
    std::string (*row)(int number, const std::vector<std::string>& cells);
    std::vector<Part> (*parts)(Part sheet);
    std::string cell_start, cell_end;  // an unfinished row 2 and its first cell around a text
    std::string attribute_start;       // an element of a row whose attribute follows
    std::string wide_row;              // a value in the sheet's last column
    std::string last_row;              // the empty rows down to the sheet's last, which holds a row
    std::string beyond_rows;           // a value in more rows than a sheet has
    const char* beyond_reason;
    std::vector<Part> (*amplifier)();  // a small file whose rows hold over 256 MiB of text
};

std::string OdsRow(int, const std::vector<std::string>& cells) {
    std::string row = "<table:table-row>";
    for (const std::string& cell : cells)
        row += "<table:table-cell office:value-type=\"string\"><text:p>" + cell + "</text:p></table:table-cell>";
    return row + "</table:table-row>";
}

std::vector<Part> OdsParts(Part content) {
    content.name = "content.xml";
    return {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet", {}, true}, std::move(content)};
}

const Format kXlsx{
    ".xlsx",
    kSheetStart,
    kSheetEnd,
    InlineRow,
    [](Part sheet) { return WorkbookParts(std::move(sheet)); },
    "<row r=\"2\"><c t=\"inlineStr\"><is><t>",
    "</t></is></c></row>",
    "<row r=\"",
    "<row><c r=\"XFD1\"><v>1</v></c></row>",
    InlineRow(1048576, kRowCells),
    R"(<row r="1048577"><c><v>1</v></c></row>)",
    "вне листа",
    [] {
        // One shared string of 32 000 characters in 500 cells of each row (under 16 MiB a row).
        std::vector<Part> more = {{"xl/sharedStrings.xml", R"(<sst xmlns="http://schemas.openxmlformats.org/)"
                                                           R"(spreadsheetml/2006/main"><si><t>)" +
                                                               std::string(32000, 'x') + "</t></si></sst>"}};
        std::string row = "<row>";
        for (int i = 0; i < 500; ++i) row += R"(<c t="s"><v>0</v></c>)";
        return WorkbookParts(Repeated(kSheetStart + InlineRow(1, kHeaderCells), row + "</row>", 20, kSheetEnd),
                             std::move(more));
    }};

const std::string kOdsStart =
    R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
    R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" )"
    R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet>)"
    R"(<table:table table:name="Журнал">)";
const std::string kOdsEnd = "</table:table></office:spreadsheet></office:body></office:document-content>";

const Format kOds{
    ".ods",
    kOdsStart,
    kOdsEnd,
    OdsRow,
    OdsParts,
    "<table:table-row><table:table-cell><text:p>",
    "</text:p></table:table-cell></table:table-row>",
    "<table:table-row table:style-name=\"",
    R"(<table:table-row><table:table-cell table:number-columns-repeated="16383"/>)"
    R"(<table:table-cell office:value-type="float" office:value="1"/></table:table-row>)",
    R"(<table:table-row table:number-rows-repeated="1048574"><table:table-cell/></table:table-row>)" +
        OdsRow(0, kRowCells),
    R"(<table:table-row table:number-rows-repeated="1048576"><table:table-cell office:value-type="float" )"
    R"(office:value="1"/></table:table-row>)",
    "строк в листе больше 1 048 576",
    [] {
        // A row of 16 384 cells repeated over the sheet's rows: a kilobyte's worth.
        return OdsParts({"", kOdsStart + OdsRow(1, kHeaderCells) +
                                 R"(<table:table-row table:number-rows-repeated="1048575"><table:table-cell )"
                                 R"(table:number-columns-repeated="16384" office:value-type="string"><text:p>x)"
                                 R"(</text:p></table:table-cell></table:table-row>)" +
                                 kOdsEnd});
    }};

class SheetReader : public Scratch, public ::testing::WithParamInterface<const Format*> {
protected:
    const Format& F() const { return *GetParam(); }
    std::string Book() const { return std::string("book") + F().ending; }
    std::string Header() const { return F().row(1, kHeaderCells); }
    void Make(Part sheet) const { WriteZip(Path(Book()), F().parts(std::move(sheet))); }
    void Make(const std::string& rows) const { Make(Part{"", F().start + rows + F().end}); }
    // Runs kelvo-calc on `book` with an earlier result in place, which must survive.
    CalcRun Refused(const std::string& book, const std::string& reason) {
        const CalcRun run = RunRefused(dir_, book, reason);
        EXPECT_TRUE(Others({book, Book(), "res.csv", "sheet-header-damaged"}).empty());
        return run;
    }
};

TEST_P(SheetReader, DamageIsDamage) {
    Make(Header() + F().beyond_rows);
    Refused(Book(), F().beyond_reason);
    Make(Header() + "<x>");
    Refused(Book(), "ошибка XML");
    Make(Part{"", R"(<?xml version="1.0"?><!DOCTYPE x [<!ENTITY a "aaaa">]>)" + F().start + Header() + F().end});
    Refused(Book(), "DOCTYPE");
    // Two parts of one name: tools that take the first or the last read different sheets.
    std::vector<Part> parts = F().parts({"", F().start + Header() + F().end});
    parts.push_back(parts.back());
    parts.back().text = F().start + F().end;
    WriteZip(Path(Book()), parts);
    Refused(Book(), "две части");
    // A part whose own header names another part than the directory does.
    Make(Part{"", F().start + Header() + F().end, {}, true});
    std::string bytes = Read(Book());
    const std::string name = F().parts(Part{}).back().name;
    const auto local = bytes.find(name);
    ASSERT_NE(local, std::string::npos);
    bytes[local + name.size() - 1] = 'X';
    Write(Book(), bytes);
    Refused(Book(), "поврежден");
}

// Little-endian fields of a zip archive's records.
std::uint64_t Field(const std::string& bytes, std::size_t at, int size) {
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}
void SetField(std::string& bytes, std::size_t at, int size, std::uint64_t value) {
    for (int i = 0; i < size; ++i, value >>= 8) bytes[at + i] = static_cast<char>(value & 0xFF);
}

// The archive with its directory's sizes given only in 64-bit extra fields, as some tools write.
std::string WithSizesOnlyInTheDirectory(const std::string& zip) {
    const std::size_t end = zip.rfind("PK\x05\x06");
    const std::size_t start = Field(zip, end + 16, 4), size = Field(zip, end + 12, 4);
    std::string directory;
    for (std::size_t at = start; at < start + size;) {
        const std::size_t name = Field(zip, at + 28, 2), extra = Field(zip, at + 30, 2),
                          comment = Field(zip, at + 32, 2);
        std::string entry = zip.substr(at, 46 + name + extra + comment), wide(20, '\0');
        SetField(wide, 0, 2, 1), SetField(wide, 2, 2, 16);
        SetField(wide, 4, 8, Field(entry, 24, 4)), SetField(wide, 12, 8, Field(entry, 20, 4));
        SetField(entry, 20, 4, 0xFFFFFFFF), SetField(entry, 24, 4, 0xFFFFFFFF), SetField(entry, 30, 2, extra + 20);
        directory += entry.insert(46 + name, wide);
        at += 46 + name + extra + comment;
    }
    std::string record = zip.substr(end, 22);
    SetField(record, 12, 4, directory.size());
    return zip.substr(0, start) + directory + record;
}

// Archives other tools read whole are read: the longest comment an archive may have (minizip does
// not look back that far), and sizes only in the directory's 64-bit fields.
TEST_P(SheetReader, ArchivesOtherToolsReadAreRead) {
    Make(Header() + F().row(2, kRowCells));
    const CalcRun plain = RunCalc(dir_, {Book()});
    ASSERT_EQ(plain.status, 0) << plain.err;
    std::string commented = Read(Book());
    SetField(commented, commented.rfind("PK\x05\x06") + 20, 2, 0xFFFF);
    Write(std::string("commented") + F().ending, commented + std::string(0xFFFF, '#'));
    Write(std::string("wide") + F().ending, WithSizesOnlyInTheDirectory(Read(Book())));
    for (const std::string name : {"commented", "wide"}) {
        const CalcRun run = RunCalc(dir_, {name + F().ending});
        EXPECT_EQ(run.status, 0) << name << ": " << run.err;
        EXPECT_EQ(run.out, plain.out) << name;
    }
}

TEST_P(SheetReader, WhatIsNotACsvIsNeverReadAsOne) {
    // The sheet part's own header damaged: an unzip tool still lists the part.
    Make(Header());
    std::string bytes = Read(Book());
    const auto name = bytes.find(F().parts(Part{})[F().parts(Part{}).size() - 1].name);
    ASSERT_NE(name, std::string::npos);
    bytes.replace(name - 30, 4, "XXXX");
    Write("sheet-header-damaged", bytes);
    Refused("sheet-header-damaged", "поврежден");
    std::string upper = std::string("text") + F().ending;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    Write(upper, "расчет;мощность_кВт\nпрямой;2,5\n");
    Refused(upper, "поврежден");
}

TEST_P(SheetReader, BombsAreRefusedWithinBoundedMemory) {
    struct Bomb {
        const char* what;
        Part sheet;
        const char* reason;
    };
    const std::string start = F().start + Header();
    const std::vector<Bomb> bombs = {
        {"a 256 MiB cell", Repeated(start + F().cell_start, "0123456789abcdef", 16 << 20, F().cell_end + F().end),
         "в ячейке A2 больше 32 767 знаков"},
        {"20 million nested elements", Repeated(start, "<a>", 20'000'000, F().end), "вложены глубже"},
        {"a 16 MiB attribute", Repeated(start + F().attribute_start, "9", 16 << 20, "\"/>" + F().end), "длиннее 4 МиБ"},
    };
    for (const Bomb& bomb : bombs) {
        SCOPED_TRACE(bomb.what);
        Make(bomb.sheet);
        const CalcRun run = Refused(Book(), bomb.reason);
        if (kMeasuresMemory) {
            EXPECT_LT(run.peak_kib, kPeakKibMax);
        }
        fs::remove(Path(Book()));
    }
}

// Repeated rows and cells, or one shared string in many cells, make at most 256 MiB of text: a
// kilobyte cannot write gigabytes. The run ends at the bound and writes nothing.
TEST_P(SheetReader, ASmallFileCannotMakeGigabytes) {
    WriteZip(Path(Book()), F().amplifier());
    EXPECT_LT(fs::file_size(Path(Book())), 64 * 1024);
    const CalcRun run = Refused(Book(), "больше 256 МиБ текста ячеек");
    if (kMeasuresMemory) {
        EXPECT_LT(run.peak_kib, kPeakKibMax);
    }
}

TEST_P(SheetReader, WideRowsAndGapsAreReadWithoutMaterialisingThem) {
    // Rows with a cell in the last column a sheet has: read and written, one row at a time.
    Make(Repeated(F().start + Header(), F().wide_row, 3000, F().end));
    const CalcRun wide = RunCalc(dir_, {"-o", "/dev/null", Book()});
    EXPECT_EQ(wide.status, 1) << wide.err;  // fields beyond the header's width
    if (kMeasuresMemory) {
        EXPECT_LT(wide.peak_kib, kPeakKibMax);
    }
    // A row far below the header: the rows between come out as empty rows.
    Make(Header() + F().last_row);
    const CalcRun gap = RunCalc(dir_, {"-o", "gap.csv", Book()});
    EXPECT_EQ(gap.status, 0) << gap.err;
    const std::string out = Read("gap.csv");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1048576);
    EXPECT_NE(out.find("\r\nпрямой;2,5;"), std::string::npos);
    if (kMeasuresMemory) {
        EXPECT_LT(gap.peak_kib, 64 * 1024);
    }
}

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
        kOds.start + OdsRow(0, kHeaderCells) + first + "</table:table-row>" + second + "</table:table-row>" + kOds.end;
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
    WriteZip(Path("own.ods"), OdsParts({"", kOds.start + OdsRow(0, kHeaderCells) + first + "</table:table-row>" +
                                                second + "</table:table-row>" + kOds.end}));
    EXPECT_EQ(Out("own.ods"), typed);
}

// A document protected by a password, or one of another kind, is said to be so.
TEST_F(ShownCells, ProtectedAndOtherDocumentsSayWhatTheyAre) {
    const Part content{"content.xml", kOds.start + OdsRow(0, kHeaderCells) + kOds.end};
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
        WriteZip(Path("count.ods"), OdsParts({"", kOds.start + OdsRow(0, kHeaderCells) + "<table:table-row>" + cell +
                                                      "</table:table-row>" + kOds.end}));
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

INSTANTIATE_TEST_SUITE_P(EveryFormat, SheetReader, ::testing::Values(&kXlsx, &kOds),
                         [](const ::testing::TestParamInfo<const Format*>& info) {
                             return std::string(info.param->ending + 1);
                         });

}  // namespace
}  // namespace kelvo::schedule::testing
