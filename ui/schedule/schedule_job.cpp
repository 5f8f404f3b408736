#include "ui/schedule/schedule_job.h"

#include <QMetaObject>

#include "cli/schedule_file.h"
#include "cli/xlsx_text.h"

namespace kelvo::schedule {
namespace {

// Gathers the rows kelvo-calc's calculation writes into pieces for the window. A CSV row over
// the length limit, which kelvo-calc passes through as its bytes, is cut back into its fields, so
// that the window shows and saves it as kelvo-calc writes it.
class ChunkWriter : public cli::TableWriter {
public:
    ChunkWriter(std::function<void(RowChunk&&)> deliver)
        : deliver_(std::move(deliver)), raw_(';', std::string::npos), add_([this](std::string_view f) { Add(f); }) {}

    void Begin(const cli::TableFormat& input, std::size_t message_column) override {
        message_column_ = message_column;
        raw_ = cli::RawRecordFields(input.separator, std::string::npos);
    }
    void Field(std::string_view field) override {
        raw_.BeforeField(add_);
        Add(field);
    }
    void Raw(std::string_view bytes) override { raw_.Raw(bytes, add_); }
    void EndRecord() override {
        raw_.EndRecord(add_);
        chunk_.ends.push_back(static_cast<std::uint32_t>(chunk_.texts.size()));
        chunk_.with_message.push_back(message_);
        message_ = false;
        column_ = 0;
        ++rows_;
        if (chunk_.ends.size() >= 4096 || chunk_.texts.size() >= (1u << 20)) Deliver();
    }
    bool Finish(std::string&) override {
        Deliver();
        return true;
    }

private:
    void Add(std::string_view field) {
        message_ |= column_ == message_column_ && !field.empty() && rows_ > 0;
        AppendField(chunk_.texts, field);
        ++column_;
    }
    void Deliver() {
        if (chunk_.ends.empty()) return;
        deliver_(std::move(chunk_));
        chunk_ = {};
    }

    std::function<void(RowChunk&&)> deliver_;
    cli::RawRecordFields raw_;
    std::function<void(std::string_view)> add_;
    RowChunk chunk_;
    std::size_t message_column_ = 0, column_ = 0, rows_ = 0;
    bool message_ = false;
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
    // Everything handed over runs on the receiver's thread, in order, while the receiver lives.
    const auto post = [this](std::function<void()> step) {
        QMetaObject::invokeMethod(receiver_, std::move(step), Qt::QueuedConnection);
    };
    JobEnd end;
    const auto input = cli::ScheduleInput::Open(path, {}, end.error);
    if (!input) {
        post([this, end] { on_end_(end); });
        return;
    }
    cli::TableReader& reader = input->Reader();
    ChunkWriter writer([&](RowChunk&& chunk) {
        const double progress = reader.Progress();
        post([this, chunk = std::move(chunk), progress] { on_rows_(chunk, progress); });
    });
    cli::ScheduleEvents events;
    events.cancelled = [this] { return cancelled_.load(); };
    end.report = cli::ProcessSchedule(reader, writer, events);
    end.input = reader.Format();
    std::string unused;
    writer.Finish(unused);
    post([this, end] { on_end_(end); });
}

}  // namespace kelvo::schedule
