// The calculation of a schedule file on a thread of its own, so that the window stays alive
// while a large file is read: rows are handed over in pieces, with the share of the file read,
// and the job can be cancelled. It computes through the schedule code kelvo-calc runs too
// (schedule/: the file opened whatever its format, ProcessSchedule), so that what the window
// shows for a row is what kelvo-calc writes.
#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "schedule/run.h"
#include "schedule/formats/table.h"
#include "ui/schedule/schedule_table.h"

namespace kelvo::schedulewindow {

struct JobEnd {
    schedule::ScheduleReport report;
    schedule::TableFormat input;  // what the file turned out to be
    std::string error;            // the file could not be opened (then nothing else counts)
};

class ScheduleJob {
public:
    // Starts at once. `on_rows` and `on_end` run on the thread of `receiver` (while it lives).
    ScheduleJob(std::string path, QObject* receiver, std::function<void(const RowChunk&, double progress)> on_rows,
                std::function<void(const JobEnd&)> on_end);
    // Cancels and waits for the thread.
    ~ScheduleJob();
    ScheduleJob(const ScheduleJob&) = delete;
    ScheduleJob& operator=(const ScheduleJob&) = delete;

    void Cancel() { cancelled_ = true; }

private:
    void Run(std::string path);
    void Calculate(std::string path);

    QObject* receiver_;  // outlives the job: the window owns it
    std::function<void(const RowChunk&, double)> on_rows_;
    std::function<void(const JobEnd&)> on_end_;
    std::atomic<bool> cancelled_{false};
    std::thread thread_;
};

}  // namespace kelvo::schedulewindow
