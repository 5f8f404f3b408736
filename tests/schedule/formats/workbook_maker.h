// Workbooks made in the test, part by part through minizip (as large and as odd as a test needs,
// streamed so that a bomb costs the test no memory).
#pragma once

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/scratch.h"

namespace kelvo::schedule::testing {

// Sanitizers keep memory of their own; the bound is checked on the plain build.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMeasuresMemory = false;
#else
inline constexpr bool kMeasuresMemory = true;
#endif
inline constexpr long kPeakKibMax = 256 * 1024;

// A part's content: a text, or a writer that hands its pieces to `put`.
struct Part {
    std::string name;
    std::string text;
    std::function<void(const std::function<void(std::string_view)>& put)> pieces = {};
    bool stored = false;  // kept unpacked, so that a test can damage its bytes
};

inline void WriteZip(const std::string& path, const std::vector<Part>& parts) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const Part& part : parts) {
        zip_fileinfo info{};
        ASSERT_EQ(zipOpenNewFileInZip64(zip, part.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                        part.stored ? 0 : Z_DEFLATED, part.stored ? 0 : 1, 1),
                  ZIP_OK);
        const auto put = [&](std::string_view bytes) {
            zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size()));
        };
        if (part.pieces)
            part.pieces(put);
        else
            put(part.text);
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
}

// A sheet part streamed: its start, `count` times `repeat`, its end.
inline Part Repeated(const std::string& start, const std::string& repeat, std::size_t count, const std::string& end) {
    return {"", "", [=](const std::function<void(std::string_view)>& put) {
                put(start);
                std::string block;
                while (block.size() < (1 << 20) && count > 0) block += repeat;
                const std::size_t per_block = block.size() / repeat.size();
                std::size_t left = count;
                for (; left >= per_block; left -= per_block) put(block);
                put(std::string_view(block).substr(0, left * repeat.size()));
                put(end);
            }};
}

// A sheet's start, without an XML declaration (a test may put one of its own before it).
inline const std::string kSheetStart =
    R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)";
inline const std::string kSheetEnd = "</sheetData></worksheet>";

// The parts every workbook here has besides its sheet: the workbook with one sheet and its
// relations.
inline std::vector<Part> WorkbookParts(Part sheet, std::vector<Part> more = {}) {
    std::vector<Part> parts = {
        {"xl/workbook.xml",
         R"(<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="Журнал" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
        {"xl/_rels/workbook.xml.rels",
         R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/></Relationships>)"},
    };
    sheet.name = "xl/worksheets/sheet1.xml";
    parts.push_back(std::move(sheet));
    for (Part& part : more) parts.push_back(std::move(part));
    return parts;
}

// A row of inline strings.
inline std::string InlineRow(int number, const std::vector<std::string>& cells) {
    std::string row = "<row r=\"" + std::to_string(number) + "\">";
    for (const std::string& cell : cells) row += "<c t=\"inlineStr\"><is><t>" + cell + "</t></is></c>";
    return row + "</row>";
}

inline const std::vector<std::string> kHeaderCells = {"расчет",    "мощность_кВт", "ток_А",    "сечение_мм2",
                                                      "род_тока",  "напряжение_В", "материал", "проводник",
                                                      "прокладка", "длина_м",      "потери_%", "кратность"};
inline const std::vector<std::string> kRowCells = {"прямой", "2,5",    "",   "",   "1ф", "220",
                                                   "медь",   "провод", "p1", "15", "4",  "1"};

// An OpenDocument spreadsheet's content around one sheet, a row of strings, and its parts.
inline const std::string kOdsStart =
    R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
    R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" )"
    R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet>)"
    R"(<table:table table:name="Журнал">)";
inline const std::string kOdsEnd = "</table:table></office:spreadsheet></office:body></office:document-content>";

inline std::string OdsRow(int, const std::vector<std::string>& cells) {
    std::string row = "<table:table-row>";
    for (const std::string& cell : cells)
        row += "<table:table-cell office:value-type=\"string\"><text:p>" + cell + "</text:p></table:table-cell>";
    return row + "</table:table-row>";
}

inline std::vector<Part> OdsParts(Part content) {
    content.name = "content.xml";
    return {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet", {}, true}, std::move(content)};
}

using kelvo::testing::CalcRun;
using kelvo::testing::ReadFile;
using kelvo::testing::Scratch;

#ifdef KELVO_CALC
using kelvo::testing::RunCalc;

// Runs kelvo-calc on `book` in `folder` with an earlier result in place: the run must be refused
// with exit 2 and `reason`, the earlier result as it was.
inline CalcRun RunRefused(const std::filesystem::path& folder, const std::string& book, const std::string& reason) {
    const std::string earlier = "earlier result\n";
    std::ofstream(folder / "res.csv", std::ios::binary) << earlier;
    const CalcRun run = RunCalc(folder, {"-o", "res.csv", book});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(folder / "res.csv"), earlier);
    return run;
}
#endif

}  // namespace kelvo::schedule::testing
