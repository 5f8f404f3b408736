// The schedule window: a cable schedule file (CSV, XLSX or ODS) opened in the program, its rows and
// results in a table, the rows with a message marked, counts of both, and "Сохранить" to save
// the result as CSV, XLSX or ODS. It is skinned like the program's other windows.
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "schedule/formats/table.h"
#include "ui/shell/skinned_window.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace kelvo::schedulewindow {

class ScheduleJob;
class ScheduleTable;
struct JobEnd;
struct RowChunk;

class ScheduleWindow : public shell::SkinnedWindow {
    Q_OBJECT
public:
    // Opens `path` and starts calculating it at once; `owner` is the main window.
    ScheduleWindow(QWidget* owner, const QString& path);
    ~ScheduleWindow() override;

    const ScheduleTable& Table() const { return *table_; }
    bool Finished() const { return finished_; }
    // Whether the window holds a whole result that has not been saved.
    bool HoldsUnsavedResult() const;
    QString FileName() const;
    QLabel* Counts() const { return counts_; }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* CancelButton() const { return cancel_; }

    // Saves the result to `path`, in the format its name says, through a temporary file that
    // replaces the target only when complete. Over the file that was opened only if `confirm`
    // agrees. Returns an empty text, or what went wrong (also shown in the message window).
    QString SaveTo(const QString& path);
    // Asked before the opened file itself is written over; by default a question to the user.
    // Stands in for the question asked before a file is written over (tests): gets the question.
    void SetConfirmOverwrite(std::function<bool(const QString& question)> confirm) { confirm_ = std::move(confirm); }

signals:
    void finished();

protected:
    void OnClosePressed() override;

private:
    bool saved_ = false;
    void OnRows(const RowChunk& chunk, double progress);
    void OnEnd(const JobEnd& end);
    void OnSaveClick();
    void ShowCounts();

    QString path_;
    std::unique_ptr<ScheduleTable> table_;
    QTableView* view_;
    QLabel* counts_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QPushButton* save_;
    std::unique_ptr<schedule::TableFormat> input_format_;
    std::function<bool(const QString&)> confirm_;
    bool finished_ = false;
    std::unique_ptr<ScheduleJob> job_;  // last: it stops before the rest goes
};

// The file types a schedule comes in, for the open and save dialogs and for dropped files.
bool IsScheduleFile(const QString& path);
QString ScheduleFilter();

}  // namespace kelvo::schedulewindow
