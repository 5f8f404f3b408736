// The schedule window on real files: what it shows for every row is what kelvo-calc writes, it
// saves the result as CSV or XLSX through a temporary file, keeps the opened file unless the
// user agrees, and a file dropped on the main window opens in one.
#include <gtest/gtest.h>

#include "tests/ui/form_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <sstream>

#include "cli/schedule.h"
#include "cli/schedule_file.h"
#include "ui/main/main_window.h"
#include "ui/schedule/schedule_table.h"
#include "ui/schedule/schedule_window.h"
#include "ui/shell/message_window.h"
#include "ui/shell/program.h"

namespace kelvo::schedule {
namespace {

const QString kFixtures = QStringLiteral(KELVO_SOURCE_DIR "/tests/cli/fixtures/");

class ScheduleWindowTest : public mainwindow::FormTest {
protected:
    // Opens a file as the main window does and waits until it is calculated.
    ScheduleWindow* Open(const QString& path) {
        form->OpenSchedule(path);
        auto* window = form->findChildren<ScheduleWindow*>().value(0);
        if (!window) return nullptr;
        if (!window->Finished()) QSignalSpy(window, &ScheduleWindow::finished).wait(10000);
        return window;
    }
    // kelvo-calc's rows for the file, header first.
    static std::vector<std::vector<std::string>> Calculated(const QString& path) {
        std::string error;
        const auto input = cli::ScheduleInput::Open(path.toStdString(), {}, error);
        std::ostringstream out;
        const auto writer = cli::MakeCsvWriter(out, {cli::Encoding::Utf8, false});
        cli::ProcessSchedule(input->Reader(), *writer);
        writer->Finish(error);
        std::istringstream in(out.str());
        cli::CsvReader reader(in, input->Reader().Format().kind == cli::TableFormat::Kind::Csv
                                      ? input->Reader().Format().separator
                                      : ';');
        std::vector<std::vector<std::string>> rows;
        std::vector<std::string_view> fields;
        while (reader.Next(fields) == cli::CsvReader::Result::Record) rows.emplace_back(fields.begin(), fields.end());
        return rows;
    }
};

TEST_F(ScheduleWindowTest, ShowsWhatKelvoCalcWritesAndSavesIt) {
    for (const char* file : {"schedule.xlsx", "excel-cp1251.csv", "comma.csv"}) {
        SCOPED_TRACE(file);
        const QString path = kFixtures + QString::fromUtf8(file);
        ScheduleWindow* window = Open(path);
        ASSERT_TRUE(window && window->Finished());
        const auto expected = Calculated(path);
        const ScheduleTable& table = window->Table();
        ASSERT_EQ(table.RowCount() + 1, expected.size());
        EXPECT_EQ(table.Header(), expected[0]);
        for (std::size_t row = 0; row < table.RowCount(); ++row) {
            const auto fields = table.Row(row);
            EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.end()), expected[row + 1]) << row;
        }
        EXPECT_TRUE(window->SaveButton()->isEnabled());
        EXPECT_TRUE(window->Counts()->text().contains(QStringLiteral("Строк: %1").arg(table.RowCount())));

        QTemporaryDir dir;
        for (const char* name : {"out.csv", "out.xlsx"}) {
            const QString out = dir.filePath(QString::fromUtf8(name));
            EXPECT_EQ(window->SaveTo(out), QString()) << name;
            // Read back, the saved file holds the same rows.
            std::string error;
            const auto saved = cli::ScheduleInput::Open(out.toStdString(), {}, error);
            ASSERT_TRUE(saved) << error;
            std::vector<std::string_view> fields;
            std::size_t rows = 0;
            while (saved->Reader().Next(fields) == cli::TableReader::Result::Record) ++rows;
            EXPECT_EQ(rows, expected.size()) << name;
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no temporary left
        QTest::mouseClick(window->Picture1(0), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(ScheduleWindowTest, TheOpenedFileIsKeptUnlessTheUserAgrees) {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("schedule.csv"));
    ASSERT_TRUE(QFile::copy(kFixtures + QStringLiteral("utf8-bom.csv"), copy));
    ScheduleWindow* window = Open(copy);
    ASSERT_TRUE(window);
    const QByteArray before = [&] {
        QFile f(copy);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    window->SetConfirmOverwrite([](const QString&) { return false; });
    EXPECT_FALSE(window->SaveTo(copy).isEmpty());
    QFile unchanged(copy);
    ASSERT_TRUE(unchanged.open(QIODevice::ReadOnly));
    EXPECT_EQ(unchanged.readAll(), before);
    window->SetConfirmOverwrite([](const QString&) { return true; });
    EXPECT_EQ(window->SaveTo(copy), QString());
    QFile changed(copy);
    ASSERT_TRUE(changed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(changed.readAll().contains("сообщение"));
}

TEST_F(ScheduleWindowTest, BadFilesGetAMessageAndNothingToSave) {
    for (const char* file : {"damaged.xlsx", "compound.xls", "empty.xlsx"}) {
        ScheduleWindow* window = Open(kFixtures + QString::fromUtf8(file));
        ASSERT_TRUE(window) << file;
        EXPECT_FALSE(window->SaveButton()->isEnabled()) << file;
        ASSERT_TRUE(shell::Form2Exists()) << file;
        EXPECT_FALSE(shell::Form2().Label1()->text().isEmpty()) << file;
        shell::ReleaseForm2();
        QTest::mouseClick(window->Picture1(0), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(ScheduleWindowTest, AFileDroppedOnTheMainWindowOpens) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(kFixtures + QStringLiteral("tab.csv")),
                  QUrl::fromLocalFile(QStringLiteral("/etc/passwd"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &drop);
    ASSERT_EQ(form->findChildren<ScheduleWindow*>().size(), 1);
    ScheduleWindow* window = form->findChildren<ScheduleWindow*>().front();
    if (!window->Finished()) QSignalSpy(window, &ScheduleWindow::finished).wait(10000);
    EXPECT_EQ(window->Table().RowCount(), 3u);
}

}  // namespace
}  // namespace kelvo::schedule
