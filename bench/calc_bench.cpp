// kelvo-calc over a generated, varied cable schedule: rows per second, and the peak memory, which must
// not grow with the number of rows.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>

#include "bench/schedule_generator.h"
#include "schedule/formats/csv/csv_table.h"
#include "schedule/run.h"
#include "schedule/schedule_file.h"
#include "schedule/formats/ods/ods.h"
#include "schedule/formats/xlsx/xlsx.h"

namespace {

// The generated schedule (varied rows, seeded), produced on the fly so that the input itself
// takes no memory.
class GeneratedSchedule : public std::streambuf {
public:
    explicit GeneratedSchedule(std::size_t rows) : rows_(rows), generator_(1) {
        chunk_ = kelvo::bench::ScheduleGenerator::Header();
        setg(chunk_.data(), chunk_.data(), chunk_.data() + chunk_.size());
    }

protected:
    int_type underflow() override {
        if (done_ >= rows_) return traits_type::eof();
        // A chunk of rows at a time, as a file's buffer would hand them over.
        chunk_.clear();
        for (int i = 0; i < 1024 && done_ < rows_; ++i, ++done_) generator_.AppendRow(chunk_);
        setg(chunk_.data(), chunk_.data(), chunk_.data() + chunk_.size());
        return traits_type::to_int_type(*gptr());
    }

private:
    std::size_t rows_;
    std::size_t done_ = 0;
    kelvo::bench::ScheduleGenerator generator_;
    std::string chunk_;
};

// Output that is counted and dropped.
class NullOutput : public std::streambuf {
public:
    std::size_t bytes = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        bytes += static_cast<std::size_t>(n);
        return n;
    }
    int_type overflow(int_type c) override {
        ++bytes;
        return c;
    }
};

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A generated schedule written to a file beforehand (not timed), then read, calculated and
// written as kelvo-calc does it, the output counted and dropped.
void BM_Schedule(benchmark::State& state) {
    const auto rows = static_cast<std::size_t>(state.range(0));
    const std::string path = std::filesystem::temp_directory_path() / "kelvo-bench-schedule.csv";
    {
        GeneratedSchedule generated(rows);
        std::ofstream(path, std::ios::binary) << &generated;
    }
    for (auto _ : state) {
        std::string error;
        const auto input = kelvo::schedule::ScheduleInput::Open(path, {}, error);
        NullOutput output_buffer;
        std::ostream out(&output_buffer);
        const auto writer = kelvo::schedule::MakeCsvWriter(out);
        benchmark::DoNotOptimize(kelvo::schedule::ProcessSchedule(input->Reader(), *writer));
        writer->Finish(error);
    }
    std::filesystem::remove(path);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rows));
    state.counters["peak_MiB"] = static_cast<double>(PeakKilobytes()) / 1024.0;
}
BENCHMARK(BM_Schedule)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The workbook paths: a generated schedule saved as an XLSX workbook or an ODS document
// beforehand (not timed), then read, calculated and written in the same format again, as
// `kelvo-calc in.xlsx -o out.xlsx` does. The peak memory is the process's, so run each on its
// own: --benchmark_filter=Xlsx, --benchmark_filter=Ods.
void RunWorkbook(benchmark::State& state, const char* suffix,
                 std::unique_ptr<kelvo::schedule::TableWriter> (*make_writer)(const std::string&)) {
    const auto rows = static_cast<std::size_t>(state.range(0));
    const std::string directory = std::filesystem::temp_directory_path() / "kelvo-bench-workbook";
    std::filesystem::create_directories(directory);
    const std::string input = directory + "/in" + suffix, output = directory + "/out" + suffix;
    {
        GeneratedSchedule generated(rows);
        std::istream in(&generated);
        const auto reader = kelvo::schedule::MakeCsvReader(in, {});
        const auto writer = make_writer(input);
        std::vector<std::string_view> fields;
        writer->Begin({}, {1000, 0});
        while (reader->Next(fields) == kelvo::schedule::TableReader::Result::Record) {
            for (const auto field : fields) writer->Field(field);
            writer->EndRecord();
        }
        std::string error;
        writer->Finish(error);
    }
    for (auto _ : state) {
        std::string error;
        const auto source = kelvo::schedule::ScheduleInput::Open(input, {}, error);
        const auto writer = make_writer(output);
        benchmark::DoNotOptimize(kelvo::schedule::ProcessSchedule(source->Reader(), *writer));
        writer->Finish(error);
    }
    std::filesystem::remove_all(directory);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rows));
    state.counters["peak_MiB"] = static_cast<double>(PeakKilobytes()) / 1024.0;
}

void BM_ScheduleXlsx(benchmark::State& state) { RunWorkbook(state, ".xlsx", kelvo::schedule::MakeXlsxWriter); }
BENCHMARK(BM_ScheduleXlsx)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ScheduleOds(benchmark::State& state) { RunWorkbook(state, ".ods", kelvo::schedule::MakeOdsWriter); }
BENCHMARK(BM_ScheduleOds)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
