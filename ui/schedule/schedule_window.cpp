#include "ui/schedule/schedule_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

#include "schedule/schedule_file.h"
#include "schedule/outcome.h"
#include "ui/schedule/schedule_job.h"
#include "ui/schedule/schedule_table.h"
#include "ui/shell/file_dialog.h"
#include "ui/shell/message_window.h"
#include "ui/shell/program.h"
#include "ui/shell/qtext.h"
#include "ui/shell/skin.h"

namespace kelvo::schedulewindow {

using shell::Q;
using shell::S;

namespace {

// What a finished calculation that could not read the whole file says, worded as kelvo-calc
// words it, from a capital letter.
QString EndFault(const JobEnd& end, const QString& path) {
    const QString name = QStringLiteral("«%1»").arg(QFileInfo(path).fileName());
    QString fault = end.error.empty() ? Q(schedule::OutcomeFault(end.report, S(name), false)) : Q(end.error);
    if (!fault.isEmpty()) fault[0] = fault[0].toUpper();
    return fault;
}

}  // namespace

QString ScheduleFilter() {
    return QStringLiteral("Кабельный журнал (*%1);;Все файлы (*)").arg(Q(schedule::WrittenEndings(" *")));
}

bool IsScheduleFile(const QString& path) {
    const QString suffix = QStringLiteral(".") + QFileInfo(path).suffix().toLower();
    for (const schedule::FileFormat& format : schedule::FileFormats())
        if (suffix == Q(format.endings[0])) return true;
    return false;
}

ScheduleWindow::ScheduleWindow(QWidget* owner, const QString& path)
    : SkinnedWindow(QStringLiteral("kelvo — ") + QFileInfo(path).fileName(),
                    QStringLiteral("Кабельный журнал: ") + QFileInfo(path).fileName(), 40),
      path_(path),
      table_(std::make_unique<ScheduleTable>()),
      view_(new QTableView(this)),
      counts_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral("Отмена"), this)),
      save_(new QPushButton(QStringLiteral("Сохранить"), this)) {
    setParent(owner, windowFlags());
    setObjectName(QStringLiteral("ScheduleWindow"));
    shell::SetBackground(this, shell::colors::kBackground);
    view_->setObjectName(QStringLiteral("ScheduleView"));
    view_->setModel(table_.get());
    view_->horizontalHeader()->setDefaultSectionSize(110);
    view_->verticalHeader()->setDefaultSectionSize(20);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    counts_->setObjectName(QStringLiteral("ScheduleCounts"));
    progress_->setRange(0, 1000);
    save_->setEnabled(false);
    for (QWidget* control : std::initializer_list<QWidget*>{cancel_, save_})
        shell::SetBackground(control, shell::colors::kBackground);
    // In twips, as the other windows: the table, and under it the counts and the buttons.
    shell::PlaceTwips(view_, 120, 480, 13560, 6600);
    shell::PlaceTwips(counts_, 120, 7200, 7200, 375);
    shell::PlaceTwips(progress_, 7440, 7200, 2880, 375);
    shell::PlaceTwips(cancel_, 10440, 7200, 1500, 375);
    shell::PlaceTwips(save_, 12120, 7200, 1560, 375);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (job_) job_->Cancel();
    });
    connect(save_, &QPushButton::clicked, this, &ScheduleWindow::OnSaveClick);
    StackFrame();
    ResizeTwips(13800, 7740);
    ApplyFrame();
    counts_->setText(QStringLiteral("Расчет…"));
    job_ = std::make_unique<ScheduleJob>(
        S(path), this, [this](const RowChunk& chunk, double progress) { OnRows(chunk, progress); },
        [this](const JobEnd& end) { OnEnd(end); });
}

ScheduleWindow::~ScheduleWindow() = default;

void ScheduleWindow::OnRows(const RowChunk& chunk, double progress) {
    table_->Append(chunk);
    if (progress >= 0) progress_->setValue(static_cast<int>(progress * 1000));
    ShowCounts();
}

void ScheduleWindow::ShowCounts() {
    QString counts = Q(schedule::RowCounts(table_->RowCount() - table_->RowsAboveHeader(), table_->MessageRowCount(),
                                           table_->NotDisconnectedRowCount()));
    if (input_format_)
        if (const std::string note = schedule::NumbersNote(input_format_->numbers); !note.empty())
            counts += QStringLiteral("; ") + Q(note);
    counts_->setText(counts);
}

void ScheduleWindow::OnEnd(const JobEnd& end) {
    finished_ = true;
    cancel_->setEnabled(false);
    input_format_ = std::make_unique<schedule::TableFormat>(end.input);
    const QString fault = EndFault(end, path_);
    const bool cancelled = end.report.status == schedule::ScheduleReport::Status::Cancelled;
    ShowCounts();
    // A cancelled calculation keeps the share it had read; a finished one is whole.
    if (cancelled)
        counts_->setText(counts_->text() + QStringLiteral(" — расчет отменен"));
    else if (!fault.isEmpty())
        counts_->setText(counts_->text() + QStringLiteral(" — расчет прерван"));
    else
        progress_->setValue(progress_->maximum());
    // Only a whole schedule is saved: a part would pass for the whole.
    save_->setEnabled(fault.isEmpty() && !cancelled);
    emit finished();
    if (!fault.isEmpty()) shell::ShowMessage(fault, shell::MainWindowWhileShown::Visible, true);
}

void ScheduleWindow::OnSaveClick() {
    // The result goes in the opened file's format, under the filter of that format.
    const QFileInfo opened(path_);
    const QString suggested = opened.dir().filePath(Q(schedule::ResultName(S(opened.fileName()))));
    const QString ending = Q(schedule::OutputFormatOf(S(opened.fileName())).endings[0]);
    QStringList filters;
    for (const schedule::FileFormat& format : schedule::FileFormats())
        filters << QStringLiteral("%1 (*%2)").arg(Q(format.filter), Q(format.endings[0]));
    QString filter = filters.filter(QStringLiteral("*") + ending).value(0);
    // The program asks its own one question before writing over a file (SaveTo), not the dialog.
    const QString path = shell::AskFileToSave(this, QStringLiteral("Сохранить результат"), suggested, filters, &filter);
    if (!path.isEmpty()) SaveTo(path);
}

QString ScheduleWindow::SaveTo(const QString& path) {
    const auto fail = [](const QString& why) {
        shell::ShowMessage(why, shell::MainWindowWhileShown::Visible, true);
        return why;
    };
    if (!finished_ || !save_->isEnabled()) return fail(QStringLiteral("Расчет еще не закончен."));
    // A file that is there, the opened one above all, is kept unless the user agrees to write
    // over it: one question, asked here (the save dialog asks none).
    const QFileInfo target(path);
    if (target.exists() && target.isFile()) {
        const auto opened = schedule::IdentityOfPath(S(path_));
        const QString question =
            opened && opened == schedule::IdentityOfPath(S(path))
                ? QStringLiteral("Записать результат поверх открытого файла «%1»?").arg(target.fileName())
                : QStringLiteral("Файл «%1» уже есть. Заменить его?").arg(target.fileName());
        const bool agreed =
            confirm_ ? confirm_(question)
                     : QMessageBox::question(this, QStringLiteral("Сохранить результат"), question) == QMessageBox::Yes;
        if (!agreed) return QStringLiteral("не записано");
    }
    schedule::OutputOptions options;
    options.kind = schedule::KindOfPath(S(path));
    std::string error;
    const auto output = schedule::ScheduleOutput::Open(S(path), options, error);
    if (!output) return fail(QStringLiteral("Не удается создать «%1»: %2").arg(path, Q(error)));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    output->Writer().Begin(*input_format_,
                           {table_->Header().empty() ? 0 : table_->Header().size() - 1, table_->RowsAboveHeader()});
    table_->WriteTo(output->Writer());
    const bool written = output->Commit(error);
    QApplication::restoreOverrideCursor();
    if (!written) return fail(QStringLiteral("Не удалось записать «%1»: %2").arg(path, Q(error)));
    saved_ = true;
    return {};
}

bool ScheduleWindow::HoldsUnsavedResult() const { return finished_ && save_->isEnabled() && !saved_; }

QString ScheduleWindow::FileName() const { return QFileInfo(path_).fileName(); }

void ScheduleWindow::OnClosePressed() {
    if (job_) job_->Cancel();
    hide();
    deleteLater();
}

}  // namespace kelvo::schedulewindow
