// Workbooks made in the test, part by part through minizip (as large and as odd as a test needs,
// streamed so that a bomb costs the test no memory), and kelvo-calc run on them with its peak
// memory taken.
#pragma once

#include <gtest/gtest.h>
#include <minizip/zip.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace kelvo::schedule::testing {

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

struct CalcRun {
    int status = -1;
    std::string out, err;
    long peak_kib = 0;  // the program's peak resident memory
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs kelvo-calc with `arguments` in `folder`, standard input from `input` (or nothing),
// standard output appended to `output` (or a scratch file), and takes its peak memory.
inline CalcRun RunCalc(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
                       const std::string& input = "/dev/null", const std::string& output = "",
                       std::function<void()> in_child = {}) {
    const std::string out = output.empty() ? (folder / ".out").string() : output;
    const std::string err = (folder / ".err").string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(folder.c_str()) != 0) ::_exit(127);
        const int in_fd = ::open(input.c_str(), O_RDONLY);
        const int out_fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const int err_fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(in_fd, 0);
        ::dup2(out_fd, 1);
        ::dup2(err_fd, 2);
        if (in_child) in_child();
        std::vector<char*> argv{const_cast<char*>(KELVO_CALC)};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(KELVO_CALC, argv.data());
        ::_exit(127);
    }
    CalcRun run;
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.peak_kib = usage.ru_maxrss;
    run.err = ReadFile(err);
    std::filesystem::remove(err);
    if (output.empty()) {
        run.out = ReadFile(out);
        std::filesystem::remove(out);
    }
    return run;
}

// A scratch folder for one test.
class Scratch : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "kelvo-workbook-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    std::string Read(const std::string& name) const { return ReadFile(dir_ / name); }
    // What the folder holds besides the named files.
    std::vector<std::string> Others(std::initializer_list<std::string> known) const {
        std::vector<std::string> others;
        for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
            const std::string name = entry.path().filename().string();
            if (std::find(known.begin(), known.end(), name) == known.end()) others.push_back(name);
        }
        return others;
    }

    std::filesystem::path dir_;
};

}  // namespace kelvo::schedule::testing
