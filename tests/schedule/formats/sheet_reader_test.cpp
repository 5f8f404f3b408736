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

INSTANTIATE_TEST_SUITE_P(EveryFormat, SheetReader, ::testing::Values(&kXlsx, &kOds),
                         [](const ::testing::TestParamInfo<const Format*>& info) {
                             return std::string(info.param->ending + 1);
                         });

}  // namespace
}  // namespace kelvo::schedule::testing
