// kelvo-calc's rows allocate nothing: once its buffers and the result's strings have grown on the
// first rows, a schedule four times as long takes not one allocation more. Every allocation of
// this program is counted, so it is a program of its own.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <sstream>
#include <streambuf>
#include <string>

#include "schedule/run.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace kelvo::schedule {
namespace {

// Output that is thrown away, so that only the schedule's own work is counted.
class Discard : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Rows of every sort: calculated forward and reverse, and each message the cells can bring,
// short and long, including those that name the row's own text or power.
// clang-format off
constexpr const char* kRows[] = {
    "прямой;2,5;;;1ф;220;медь;провод;p1;1;4;\n",
    ";;23;;3ф;380;алюминий;кабель;k7;50;5;1,25\n",
    "обратный;;;2,5;3ф;380;медь;провод;p1;;;7\n",
    ";500;;;1ф;220;медь;провод;p1;1;4;\n",                         // exceeds by power
    ";12345678,5;;;1ф;220;медь;провод;p1;1;4;\n",                  // a longer power named
    ";2,5;;;1ф;220;медь;провод;p1;;4;\n",                          // no length
    ";2.5;;;1ф;220;медь;провод;p1;1;4;\n",                         // decimal point
    ";2,5;3;;1ф;220;медь;провод;p1;1;4;\n",                        // power and current
    ";2,5;;;2ф;220;медь;провод;p1;1;4;\n",                         // unknown supply
    ";2,5;;;1ф;220;медь;провод;кабельный канал номер семь;1;4;\n",  // unknown laying
    "туда;2,5;;;1ф;220;медь;провод;p1;1;4;\n",                     // unknown kind
    ";2,5;;;1ф;220;медь;провод;p1;1;4;3,3\n",                      // multiplicity not offered
    ";2,5;;;1ф;220;медь;провод;p1;1;4;;лишнее\n",                  // surplus field
    ";2,5;;;1ф;220;\xE0\xEC;провод;p1;1;4;\n",                     // not UTF-8
    "\n",
};
// clang-format on

long AllocationsFor(int copies) {
    std::string text =
        "расчет;мощность_кВт;ток_А;сечение_мм2;род_тока;напряжение_В;материал;проводник;прокладка;длина_м;"
        "потери_%;кратность\n";
    for (int i = 0; i < copies; ++i)
        for (const char* row : kRows) text += row;
    std::istringstream in(std::move(text));
    Discard discard;
    std::ostream out(&discard);
    const long before = allocations;
    const ScheduleReport report = ProcessSchedule(in, out);
    const long counted = allocations - before;
    EXPECT_EQ(report.rows, static_cast<std::size_t>(copies) * std::size(kRows));
    EXPECT_EQ(report.rows_with_message, static_cast<std::size_t>(copies) * 11);
    return counted;
}

TEST(ScheduleAllocations, RowsAllocateNothing) {
    AllocationsFor(1);  // what is made once in a program's life (the result columns' keys) is made here
    const long short_run = AllocationsFor(500);
    EXPECT_EQ(AllocationsFor(2000), short_run);
}

}  // namespace
}  // namespace kelvo::schedule
