// XLSX workbooks from outside, as an attacker or an unlucky download makes them, read by the real
// kelvo-calc: what only workbooks have (shared strings, cell references, the format's escapes)
// damaged or hostile is refused whole with its reason (exit 2, the earlier result kept), never
// half-read and within bounded memory. What every spreadsheet format promises is in
// sheet_reader_test.cpp.
#include <gtest/gtest.h>

#include "tests/schedule/formats/workbook_maker.h"

namespace kelvo::schedule::testing {
namespace {

namespace fs = std::filesystem;

std::string Sheet(const std::string& rows) { return kSheetStart + rows + kSheetEnd; }

Part SheetPart(const std::string& rows) { return {"", Sheet(rows)}; }

Part SharedStringsPart(const std::string& items, bool stored = false) {
    return {
        "xl/sharedStrings.xml",
        R"(<?xml version="1.0" encoding="UTF-8"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)" +
            items + "</sst>",
        {},
        stored};
}

std::string HeaderRow() { return InlineRow(1, kHeaderCells); }

class WorkbookReader : public Scratch {
protected:
    // Runs kelvo-calc on the workbook with an earlier result in place, which must survive.
    CalcRun Refused(const std::string& book, const std::string& reason) { return RunRefused(dir_, book, reason); }
    void ChangeBytes(const std::string& name, std::string_view what, std::string_view with) {
        std::string bytes = Read(name);
        const auto at = bytes.find(what);
        ASSERT_NE(at, std::string::npos);
        bytes.replace(at, with.size(), with);
        Write(name, bytes);
    }
};

TEST_F(WorkbookReader, DamagedPartsAndReferencesAreDamage) {
    struct Case {
        const char* what;
        std::string rows;
        std::string shared;
        const char* reason;
    };
    const std::string header = HeaderRow();
    const std::vector<Case> cases = {
        {"index not a number", header + R"(<row r="2"><c t="s"><v>abc</v></c></row>)", "<si><t>a</t></si>",
         "общую строку «abc»"},
        {"index out of range", header + R"(<row r="2"><c t="s"><v>5</v></c></row>)", "<si><t>a</t></si>",
         "общую строку «5»"},
        {"row beyond any sheet", header + R"(<row r="9000000000000000000"><c><v>1</v></c></row>)", "",
         "номер строки «9000000000000000000» вне листа"},
        {"column beyond XFD", header + R"(<row r="2"><c r="XFE2"><v>1</v></c></row>)", "", "«XFE2» вне листа"},
        {"rows out of order", InlineRow(3, kHeaderCells) + InlineRow(2, kRowCells), "", "строка 2 не по порядку"},
        {"cells out of order", header + R"(<row r="2"><c r="C2"><v>1</v></c><c r="B2"><v>1</v></c></row>)", "",
         "ячейка B2 не по порядку"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Part sheet = SheetPart(c.rows);
        std::vector<Part> more;
        if (!c.shared.empty()) more.push_back(SharedStringsPart(c.shared));
        WriteZip(Path("book.xlsx"), WorkbookParts(sheet, more));
        Refused("book.xlsx", c.reason);
        EXPECT_TRUE(Others({"book.xlsx", "res.csv"}).empty());
    }
}

TEST_F(WorkbookReader, ADamagedSharedStringsPartIsNotTakenAsAbsent) {
    const std::string rows = Sheet(R"(<row r="1"><c t="s"><v>0</v></c></row>)");
    // Unpacked, one byte changed: the checksum no longer matches.
    WriteZip(Path("crc.xlsx"), WorkbookParts({"", rows}, {SharedStringsPart("<si><t>расчет-метка</t></si>", true)}));
    ChangeBytes("crc.xlsx", "метка", "мЕтка");
    Refused("crc.xlsx", "sharedStrings.xml");
    // Packed, bytes in the middle of the packed data changed.
    std::string items;
    for (unsigned i = 0, x = 1; i < 20000; ++i, x = x * 1103515245u + 12345u)
        items += "<si><t>" + std::to_string(x) + "</t></si>";
    WriteZip(Path("inflate.xlsx"), WorkbookParts({"", rows}, {SharedStringsPart(items)}));
    std::string bytes = Read("inflate.xlsx");
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 64; ++i) bytes[i] = static_cast<char>(~bytes[i]);
    Write("inflate.xlsx", bytes);
    Refused("inflate.xlsx", "поврежден");
}

TEST_F(WorkbookReader, WhatIsNotACsvIsNeverReadAsOne) {
    Write("empty-archive", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    Refused("empty-archive", "поврежден");
    Write("garbage", std::string("\x01\x02\x03\x00\x7f binary", 12) + std::string(100, '\x05'));
    Refused("garbage", "не таблица CSV");
    const CalcRun from_input = RunCalc(dir_, {}, Path("garbage"));
    EXPECT_EQ(from_input.status, 2);
    EXPECT_NE(from_input.err.find("стандартный ввод — не таблица CSV"), std::string::npos) << from_input.err;
    EXPECT_TRUE(from_input.out.empty());
}

TEST_F(WorkbookReader, SharedStringBombsAreRefusedWithinBoundedMemory) {
    struct Bomb {
        const char* what;
        Part sheet;
        std::vector<Part> more;
        const char* reason;
    };
    const std::string header = HeaderRow();
    std::vector<Bomb> bombs;
    bombs.push_back({"a 200 MB shared string", SheetPart(header), {}, "длиннее 32 767 знаков"});
    bombs.back().more.push_back(Repeated(
        R"(<?xml version="1.0"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>)",
        "абвгдежз", 12 << 20, "</t></si></sst>"));
    bombs.push_back({"three million shared strings", SheetPart(header), {}, "общих строк больше"});
    bombs.back().more.push_back(
        Repeated(R"(<?xml version="1.0"?><sst><si><t>)", "x</t></si><si><t>", 3'000'000, "x</t></si></sst>"));
    bombs.push_back({"150 MB of shared strings", SheetPart(header), {}, "больше 100 МиБ"});
    bombs.back().more.push_back(Repeated(R"(<?xml version="1.0"?><sst><si><t>)",
                                         std::string(1000, 'y') + "</t></si><si><t>", 150'000, "</t></si></sst>"));
    for (Bomb& bomb : bombs) {
        SCOPED_TRACE(bomb.what);
        for (Part& part : bomb.more) part.name = "xl/sharedStrings.xml";
        WriteZip(Path("bomb.xlsx"), WorkbookParts(bomb.sheet, bomb.more));
        const CalcRun run = Refused("bomb.xlsx", bomb.reason);
        if (kMeasuresMemory) {
            EXPECT_LT(run.peak_kib, kPeakKibMax);
        }
        fs::remove(Path("bomb.xlsx"));
    }
}

// The parts beside the sheets keep at most 16 MiB of what they name, and unpack to at most 64 MiB:
// a 2 MB workbook took 2 GiB and half a minute.
TEST_F(WorkbookReader, SidePartsAreBounded) {
    const std::string code(2 << 20, '0');
    const auto styles = [&](std::size_t formats) {
        return Repeated(R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><numFmts>)",
                        "<numFmt numFmtId=\"200\" formatCode=\"" + code + "\"/>", formats, "</numFmts></styleSheet>");
    };
    struct Bomb {
        const char* what;
        std::size_t part;  // replaced in the workbook's parts
        Part text;
        const char* reason;
    };
    const std::vector<Bomb> bombs = {
        {"number formats' codes", 99, styles(20), "коды числовых форматов занимают больше 16 МиБ"},
        {"a styles part of 80 MiB", 99, styles(40), "«xl/styles.xml» больше 64 МиБ"},
        {"relationships' targets", 1,
         Repeated(R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)",
                  "<Relationship Id=\"x\" Type=\"t\" Target=\"" + code + "\"/>", 20, "</Relationships>"),
         "связи и имена листов занимают больше 16 МиБ"},
    };
    for (const Bomb& bomb : bombs) {
        SCOPED_TRACE(bomb.what);
        std::vector<Part> parts = WorkbookParts(SheetPart(HeaderRow()));
        Part text = bomb.text;
        if (bomb.part < parts.size()) {
            text.name = parts[bomb.part].name;
            parts[bomb.part] = text;
        } else {
            text.name = "xl/styles.xml";
            parts.push_back(text);
        }
        WriteZip(Path("side.xlsx"), parts);
        const CalcRun run = Refused("side.xlsx", bomb.reason);
        if (kMeasuresMemory) {
            EXPECT_LT(run.peak_kib, 128 * 1024);
        }
    }
}

TEST_F(WorkbookReader, TextsAreReadAsTheWorkbookMeansThem) {
    // The encoding the part declares; phonetic guides left out; the format's escapes read back.
    std::string latin = R"(<?xml version="1.0" encoding="ISO-8859-1"?>)" +
                        Sheet(HeaderRow() + InlineRow(2, kRowCells) + R"(<row r="3"><c t="inlineStr"><is><t>caf)" +
                              std::string("\xE9") + "</t></is></c></row>");
    WriteZip(Path("latin.xlsx"), WorkbookParts({"", latin}));
    const CalcRun read = RunCalc(dir_, {"--sheet", "журнал", "latin.xlsx"});  // its header is not Latin-1
    EXPECT_EQ(read.status, 1) << read.err;
    EXPECT_NE(read.out.find("\r\ncafé;"), std::string::npos) << read.out;

    const std::string guided =
        R"(<row r="2"><c t="inlineStr"><is><r><t>медь</t></r><rPh sb="0" eb="1"><t>ме</t></rPh></is></c>)"
        R"(<c t="s"><v>0</v></c></row>)";
    WriteZip(Path("guided.xlsx"),
             WorkbookParts(SheetPart(InlineRow(1, {"материал", "примечание"}) + guided),
                           {SharedStringsPart("<si><t>a_x0001_b _x005F_x0041_</t><rPh><t>x</t></rPh></si>")}));
    const CalcRun guides = RunCalc(dir_, {"--sheet", "Журнал", "guided.xlsx"});
    EXPECT_NE(guides.out.find("\r\nмедь;a\x01"
                              "b _x0041_;"),
              std::string::npos)
        << guides.out;
}

// Two sheets that name one part would have a heavy part read as often as it is named: damage.
TEST_F(WorkbookReader, TwoSheetsOfOnePartAreDamage) {
    std::vector<Part> parts = WorkbookParts(SheetPart(HeaderRow()));
    const std::string sheet = R"(<sheet name="Журнал" sheetId="1" r:id="rId1"/>)";
    parts[0].text.replace(parts[0].text.find(sheet), sheet.size(),
                          sheet + R"(<sheet name="Копия" sheetId="2" r:id="rId1"/>)");
    WriteZip(Path("book.xlsx"), parts);
    Refused("book.xlsx", "два листа ссылаются на одну часть");
}

// Relationship targets as the packaging rules allow them: "./", "../" steps, a root path and
// percent-encoded names all name the sheet's part.
TEST_F(WorkbookReader, RelationshipTargetsAreResolvedAsThePackageRulesSay) {
    for (const char* target : {"worksheets/sheet1.xml", "./worksheets/sheet1.xml", "../xl/worksheets/sheet1.xml",
                               "/xl/worksheets/sheet1.xml", "worksheets/sheet%31.xml"}) {
        SCOPED_TRACE(target);
        std::vector<Part> parts = WorkbookParts(SheetPart(HeaderRow() + InlineRow(2, kRowCells)));
        const std::string from = "Target=\"worksheets/sheet1.xml\"";
        parts[1].text.replace(parts[1].text.find(from), from.size(), std::string("Target=\"") + target + "\"");
        WriteZip(Path("book.xlsx"), parts);
        const CalcRun run = RunCalc(dir_, {"book.xlsx"});
        EXPECT_EQ(run.status, 0) << run.err;
    }
}

}  // namespace
}  // namespace kelvo::schedule::testing
