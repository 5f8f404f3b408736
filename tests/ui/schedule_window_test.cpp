// The schedule window on real files: what it shows for every row is what kelvo-calc writes, it
// saves the result as CSV or XLSX through a temporary file, keeps the opened file unless the
// user agrees, and a file dropped on the main window opens in one.
#include <gtest/gtest.h>

#include "tests/ui/form_fixture.h"
#include "tests/schedule/formats/workbook_maker.h"

#include <QBrush>
#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <set>
#include <sstream>

#include "schedule/formats/csv/csv_table.h"
#include "schedule/run.h"
#include "schedule/formats/csv/csv.h"
#include "schedule/schedule_file.h"
#include "core/messages.h"
#include "ui/main/main_window.h"
#include "ui/schedule/schedule_table.h"
#include "ui/schedule/schedule_window.h"
#include "ui/shell/message_window.h"
#include "ui/shell/program.h"

namespace kelvo::schedulewindow {
namespace {

const QString kFixtures = QStringLiteral(KELVO_SOURCE_DIR "/tests/schedule/fixtures/");

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
        const auto input = schedule::ScheduleInput::Open(path.toStdString(), {}, error);
        std::ostringstream out;
        const auto writer = schedule::MakeCsvWriter(out, {schedule::Encoding::Utf8, false});
        schedule::ProcessSchedule(input->Reader(), *writer);
        writer->Finish(error);
        std::istringstream in(out.str());
        schedule::CsvReader reader(in, input->Reader().Format().kind == schedule::TableFormat::Kind::Csv
                                           ? input->Reader().Format().separator
                                           : ';');
        std::vector<std::vector<std::string>> rows;
        std::vector<std::string_view> fields;
        while (reader.Next(fields) == schedule::CsvReader::Result::Record)
            rows.emplace_back(fields.begin(), fields.end());
        return rows;
    }
};

TEST_F(ScheduleWindowTest, ShowsWhatKelvoCalcWritesAndSavesIt) {
    for (const char* file : {"schedule.xlsx", "excel-cp1251.csv", "comma.csv", "people/people-libreoffice.ods"}) {
        SCOPED_TRACE(file);
        const QString path = kFixtures + QString::fromUtf8(file);
        ScheduleWindow* window = Open(path);
        ASSERT_TRUE(window && window->Finished());
        const auto expected = Calculated(path);
        const ScheduleTable& table = window->Table();
        ASSERT_EQ(table.RowCount() + 1, expected.size());
        // A title above the header is shown above the rows, as kelvo-calc writes it.
        const std::size_t above = table.RowsAboveHeader();
        EXPECT_EQ(table.Header(), expected[above]);
        for (std::size_t row = 0; row < table.RowCount(); ++row) {
            const auto fields = table.Row(row);
            EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.end()), expected[row < above ? row : row + 1])
                << row;
        }
        EXPECT_TRUE(window->SaveButton()->isEnabled());
        EXPECT_TRUE(window->Counts()->text().contains(QStringLiteral("Строк: %1").arg(table.RowCount() - above)));

        QTemporaryDir dir;
        for (const char* name : {"out.csv", "out.xlsx", "out.ods"}) {
            const QString out = dir.filePath(QString::fromUtf8(name));
            EXPECT_EQ(window->SaveTo(out), QString()) << name;
            // Read back, the saved file holds the same rows.
            std::string error;
            const auto saved = schedule::ScheduleInput::Open(out.toStdString(), {}, error);
            ASSERT_TRUE(saved) << error;
            std::vector<std::string_view> fields;
            std::size_t rows = 0;
            while (saved->Reader().Next(fields) == schedule::TableReader::Result::Record) ++rows;
            EXPECT_EQ(rows, expected.size()) << name;
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);  // no temporary left
        QTest::mouseClick(window->Picture1(0), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Opening a file is stopped by "Отмена" and by closing the window, the search for its sheet too:
// a document whose search would take seconds (400 MiB of sheets without a header) ends cancelled,
// with no message, and closing the window while it is searched returns at once.
TEST_F(ScheduleWindowTest, TheSearchForTheSheetStopsAtCancel) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("many.ods"));
    std::string sheet = "<table:table table:name=\"Щит\">";
    for (int i = 0; i < 60; ++i)
        sheet += "<table:table-row><table:table-cell><text:p>-</text:p></table:table-cell></table:table-row>";
    sheet += "</table:table>";
    schedule::testing::Part content = schedule::testing::Repeated(
        R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
        R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" )"
        R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet>)",
        sheet, (400 << 20) / sheet.size(), "</office:spreadsheet></office:body></office:document-content>");
    content.name = "content.xml";
    schedule::testing::WriteZip(path.toStdString(),
                                {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet", {}, true}, content});
    form->OpenSchedule(path);
    auto* window = form->findChildren<ScheduleWindow*>().value(0);
    ASSERT_TRUE(window);
    QTest::mouseClick(window->CancelButton(), Qt::LeftButton);
    if (!window->Finished()) QSignalSpy(window, &ScheduleWindow::finished).wait(10000);
    ASSERT_TRUE(window->Finished());
    EXPECT_TRUE(window->Counts()->text().endsWith(QStringLiteral("расчет отменен")))
        << window->Counts()->text().toStdString();
    EXPECT_FALSE(shell::Form2Exists() && shell::Form2().isVisible());
    EXPECT_FALSE(window->SaveButton()->isEnabled());
    QTest::mouseClick(window->Picture1(0), Qt::LeftButton);
    // Closed while the search goes on: the window and its job go at once.
    form->OpenSchedule(path);
    window = form->findChildren<ScheduleWindow*>().value(0);
    ASSERT_TRUE(window);
    const QPointer<ScheduleWindow> closed = window;
    QTest::mouseClick(window->Picture1(0), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
}

// Fields hold any byte, and a row over the length limit is cut into its fields: the window shows,
// counts and saves both as kelvo-calc writes them.
TEST_F(ScheduleWindowTest, OddRowsComeOutAsKelvoCalcWritesThem) {
    const std::string header =
        "расчет;мощность_кВт;ток_А;сечение_мм2;род_тока;напряжение_В;материал;проводник;прокладка;длина_м;потери_%;"
        "кратность;примечание\r\n";
    const std::string row = "прямой;2,5;;;1ф;220;медь;провод;p1;15;4;1;";
    const std::string input = header + row + "до\x1f после\r\n" + row + std::string(1100000, 'x') + ";лишнее\r\n" +
                              row + "\"в \"\"кавычках\"\"\"\r\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("odd.csv"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(input.data(), static_cast<qint64>(input.size()));
    }
    ScheduleWindow* window = Open(path);
    ASSERT_TRUE(window && window->Finished());
    const ScheduleTable& table = window->Table();
    ASSERT_EQ(table.RowCount(), 3u);
    EXPECT_EQ(table.MessageRowCount(), 1u);  // the long row, as kelvo-calc counts it
    const auto first = table.Row(0);
    ASSERT_GE(first.size(), 13u);
    EXPECT_EQ(first[12], "до\x1f после");
    const auto long_row = table.Row(1);
    ASSERT_EQ(long_row.size(), 13u + schedule::kResultCount + 1);
    EXPECT_EQ(long_row[12].size(), 1100000u);
    EXPECT_EQ(long_row[12 + schedule::kResultCount], messages::kTooLongRow);
    EXPECT_EQ(long_row.back(), "лишнее");
    EXPECT_EQ(table.Row(2)[12], "в \"кавычках\"");

    const QString saved = dir.filePath(QStringLiteral("saved.csv"));
    ASSERT_EQ(window->SaveTo(saved), QString());
    std::string error;
    const auto in = schedule::ScheduleInput::Open(path.toStdString(), {}, error);
    std::ostringstream expected;
    const auto writer = schedule::MakeCsvWriter(expected);
    schedule::ProcessSchedule(in->Reader(), *writer);
    writer->Finish(error);
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().toStdString() == expected.str());
    // A save that cannot be written says so, with the system's reason, in a message window.
    EXPECT_TRUE(window->SaveTo(QStringLiteral("/dev/full")).contains(QString::fromUtf8(std::strerror(ENOSPC))));
    ASSERT_TRUE(shell::Form2Exists());
    shell::ReleaseForm2();
    QTest::mouseClick(window->Picture1(0), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A line whose breaker does not disconnect a fault at its end in time: marked in its own colour
// and counted, as kelvo-calc counts it.
TEST_F(ScheduleWindowTest, LinesWithoutDisconnectionAreMarkedAndCounted) {
    ScheduleWindow* window = Open(QStringLiteral(KELVO_SOURCE_DIR "/tests/schedule/golden/disconnection.csv"));
    ASSERT_TRUE(window && window->Finished());
    const ScheduleTable& table = window->Table();
    EXPECT_EQ(table.NotDisconnectedRowCount(), 2u);
    EXPECT_TRUE(window->Counts()->text().contains(QStringLiteral("без отключения при КЗ: 2")));
    std::set<QRgb> colours;
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        const QVariant brush = table.data(table.index(static_cast<int>(row), 0), Qt::BackgroundRole);
        if (brush.isValid()) colours.insert(brush.value<QBrush>().color().rgb());
    }
    EXPECT_EQ(colours.size(), 2u);  // the rows with a message, and the rows without disconnection
    QTest::mouseClick(window->Picture1(0), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
        // Neither a full bar nor counts that pass for a whole calculation.
        EXPECT_TRUE(window->Counts()->text().endsWith(QStringLiteral("расчет прерван"))) << file;
        EXPECT_LT(window->findChild<QProgressBar*>()->value(), window->findChild<QProgressBar*>()->maximum()) << file;
        ASSERT_TRUE(shell::Form2Exists()) << file;
        EXPECT_FALSE(shell::Form2().Label1()->text().isEmpty()) << file;
        shell::ReleaseForm2();
        QTest::mouseClick(window->Picture1(0), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(ScheduleWindowTest, ClosingAMessageAsksBeforeAnUnsavedResultIsLost) {
    int ends = 0;
    shell::SetEndProgramHandler([&] { ++ends; });
    auto* window = Open(kFixtures + "comma.csv");
    ASSERT_TRUE(window && window->HoldsUnsavedResult());
    const auto close_message_answering = [&](QMessageBox::StandardButton answer) {
        shell::ShowMessage(QStringLiteral("Установите сечение"), shell::MainWindowWhileShown::Visible, true);
        QTimer::singleShot(0, [answer] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
                    box->button(answer)->click();
        });
        shell::Form2().close();  // the window manager's close
    };
    close_message_answering(QMessageBox::No);
    EXPECT_EQ(ends, 0);
    EXPECT_TRUE(shell::Form2().isVisible());  // the user goes on, the message still there
    close_message_answering(QMessageBox::Yes);
    EXPECT_EQ(ends, 1);
    // Once saved, nothing is asked.
    QTemporaryDir dir;
    ASSERT_TRUE(window->SaveTo(dir.filePath(QStringLiteral("r.csv"))).isEmpty());
    EXPECT_FALSE(window->HoldsUnsavedResult());
    shell::Form2().close();
    EXPECT_EQ(ends, 2);
    shell::SetEndProgramHandler([] {});
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
}  // namespace kelvo::schedulewindow
