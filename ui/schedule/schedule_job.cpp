#include "ui/schedule/schedule_job.h"

#include <QMetaObject>
#include <new>

#include "core/messages.h"
#include "schedule/schedule_file.h"
#include "schedule/formats/cells/cell_writer.h"

namespace kelvo::schedulewindow {
namespace {

// Gathers the rows the schedule's run writes into pieces for the window. A CSV row over
// the length limit, which kelvo-calc passes through as its bytes, is cut back into its fields, so
// that the window shows and saves it as kelvo-calc writes it.
class ChunkWriter final : public schedule::CellWriter {
public:
    ChunkWriter(std::function<void(RowChunk&&)> deliver)
        : CellWriter(std::string::npos), deliver_(std::move(deliver)) {}

    // The run tells how the row being written came out.
    void RowOutcome(schedule::ScheduleEvents::RowOutcome outcome) { outcome_ = static_cast<std::uint8_t>(outcome); }
    bool Finish(std::string&) override {
        Deliver();
        return true;
    }

private:
    void Start() override { chunk_.header_row = Layout().rows_above_header; }
    void Cell(std::string_view field) override { AppendField(chunk_.texts, field); }
    void EndRow() override {
        chunk_.ends.push_back(static_cast<std::uint32_t>(chunk_.texts.size()));
        chunk_.outcome.push_back(outcome_);
        outcome_ = 0;
        // The first piece is handed over with the header in it.
        const bool header_written = chunk_.ends.size() > chunk_.header_row || delivered_;
        if (header_written && (chunk_.ends.size() >= 4096 || chunk_.texts.size() >= (1u << 20))) Deliver();
    }
    void Deliver() {
        if (chunk_.ends.empty()) return;
        deliver_(std::move(chunk_));
        chunk_ = {};
        delivered_ = true;
    }

    std::function<void(RowChunk&&)> deliver_;
    RowChunk chunk_;
    std::uint8_t outcome_ = 0;  // a ScheduleEvents::RowOutcome
    bool delivered_ = false;
};

}  // namespace

ScheduleJob::ScheduleJob(std::string path, QObject* receiver, std::function<void(const RowChunk&, double)> on_rows,
                         std::function<void(const JobEnd&)> on_end)
    : receiver_(receiver), on_rows_(std::move(on_rows)), on_end_(std::move(on_end)) {
    thread_ = std::thread([this, path = std::move(path)] { Run(path); });
}

ScheduleJob::~ScheduleJob() {
    cancelled_ = true;
    if (thread_.joinable()) thread_.join();
}

void ScheduleJob::Run(std::string path) {
    try {
        Calculate(std::move(path));
    } catch (const std::bad_alloc&) {
        // The window goes on: the schedule gets a message instead of ending the program.
        JobEnd end;
        end.error = kelvo::messages::kOutOfMemory;
        QMetaObject::invokeMethod(
            receiver_, [this, end] { on_end_(end); }, Qt::QueuedConnection);
    }
}

namespace {

// The end of a job stopped before its file was open.
JobEnd Cancelled() {
    JobEnd end;
    end.report.status = schedule::ScheduleReport::Status::Cancelled;
    return end;
}

}  // namespace

void ScheduleJob::Calculate(std::string path) {
    // Everything handed over runs on the receiver's thread, in order, while the receiver lives.
    const auto post = [this](std::function<void()> step) {
        QMetaObject::invokeMethod(receiver_, std::move(step), Qt::QueuedConnection);
    };
    JobEnd end;
    // Every step, the search for the sheet too, stops at "Отмена" or at the window's close.
    schedule::InputOptions options;
    options.stop = [this] { return cancelled_.load(); };
    const auto input = schedule::ScheduleInput::Open(path, options, end.error);
    if (!input) {
        if (cancelled_ && schedule::ReadingStopped(end.error)) end = Cancelled();
        post([this, end] { on_end_(end); });
        return;
    }
    schedule::TableReader& reader = input->Reader();
    ChunkWriter writer([&](RowChunk&& chunk) {
        const double progress = reader.Progress();
        post([this, chunk = std::move(chunk), progress] { on_rows_(chunk, progress); });
    });
    schedule::ScheduleEvents events;
    events.cancelled = [this] { return cancelled_.load(); };
    events.on_row_outcome = [&writer](schedule::ScheduleEvents::RowOutcome outcome) { writer.RowOutcome(outcome); };
    end.report = schedule::ProcessSchedule(reader, writer, events);
    if (cancelled_ && schedule::ReadingStopped(end.report.fault))  // a read stopped within a row
        end.report.status = schedule::ScheduleReport::Status::Cancelled;
    end.input = reader.Format();
    std::string unused;
    writer.Finish(unused);
    post([this, end] { on_end_(end); });
}

}  // namespace kelvo::schedulewindow
