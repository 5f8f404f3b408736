// The window speaks Russian everywhere and names the right load: the toolkit's dialogs and
// buttons in Russian, one question before a file is written over, the exceed message naming the
// power of the load being typed, and a cancelled calculation's progress as far as it went.
#include <gtest/gtest.h>

#include "tests/ui/form_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QAbstractProxyModel>
#include <QFileDialog>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <fstream>

#include "ui/main/texts.h"
#include "ui/schedule/schedule_window.h"
#include "ui/shell/file_dialog.h"
#include "ui/shell/translations.h"

namespace kelvo::mainwindow {
namespace {

QStringList ButtonTexts(QWidget& dialog) {
    QStringList texts;
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) texts << button->text();
    return texts;
}

TEST(Russian, TheToolkitsDialogsSpeakRussian) {
    ASSERT_TRUE(shell::InstallRussianTranslation(*QCoreApplication::instance()));
    QFileDialog open(nullptr, QStringLiteral("Открыть кабельный журнал"));
    open.setOption(QFileDialog::DontUseNativeDialog);
    open.show();
    EXPECT_TRUE(ButtonTexts(open).contains(QStringLiteral("Отмена"))) << ButtonTexts(open).join(' ').toStdString();
    EXPECT_TRUE(ButtonTexts(open).contains(QStringLiteral("&Открыть")) ||
                ButtonTexts(open).contains(QStringLiteral("Открыть")))
        << ButtonTexts(open).join(' ').toStdString();
    QMessageBox question(QMessageBox::Question, QStringLiteral("Сохранить результат"), QStringLiteral("?"),
                         QMessageBox::Yes | QMessageBox::No);
    const QStringList answers = ButtonTexts(question);
    EXPECT_TRUE(answers.join(' ').contains(QStringLiteral("Да"))) << answers.join(' ').toStdString();
    EXPECT_TRUE(answers.join(' ').contains(QStringLiteral("Нет"))) << answers.join(' ').toStdString();
}

// The file list in Russian whatever the system's language: a folder's type, sizes and dates.
TEST(Russian, TheFileListSpeaksRussian) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("проект"));
    QFile small(dir.filePath(QStringLiteral("a.csv"))), large(dir.filePath(QStringLiteral("b.csv")));
    ASSERT_TRUE(small.open(QIODevice::WriteOnly) && large.open(QIODevice::WriteOnly));
    small.write(QByteArray(12, 'x'));
    large.write(QByteArray(2048, 'x'));
    small.close(), large.close();
    QFileDialog dialog(nullptr, QStringLiteral("Открыть кабельный журнал"), dir.path());
    shell::PrepareFileDialog(dialog);
    dialog.show();
    const QAbstractItemModel* list = dialog.proxyModel();
    ASSERT_TRUE(list);
    QMap<QString, QStringList> rows;  // name: size, type, date
    for (int tries = 0; tries < 200 && rows.size() < 3; ++tries) {
        QTest::qWait(10);
        const QModelIndex root = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))->rootIndex();
        for (int row = 0; row < list->rowCount(root); ++row) {
            QStringList texts;
            for (int column = 1; column < 4; ++column) texts << list->index(row, column, root).data().toString();
            rows[list->index(row, 0, root).data().toString()] = texts;
        }
    }
    ASSERT_EQ(rows.size(), 3) << rows.keys().join(' ').toStdString();
    EXPECT_EQ(rows[QStringLiteral("проект")].value(1), QStringLiteral("Папка"));
    EXPECT_EQ(rows[QStringLiteral("a.csv")].value(0), QStringLiteral("12 байт"));
    EXPECT_EQ(rows[QStringLiteral("b.csv")].value(0), QStringLiteral("2,0 КБ"));
    const QString date = rows[QStringLiteral("a.csv")].value(2);
    EXPECT_EQ(date, QLocale(QLocale::Russian, QLocale::Russia)
                        .toString(QFileInfo(small.fileName()).lastModified(), QLocale::ShortFormat));
}

class RussianWindowTest : public FormTest {
protected:
    static QString Message() { return shell::Form2Exists() ? shell::Form2().Label1()->text() : QString(); }
};

// Typed into the current box, a current above the table names the power of this very load:
// 1000 A at 220 V single-phase is 220 kW, whatever the power box showed.
TEST_F(RussianWindowTest, TheExceedMessageNamesThePowerOfTheLoadTyped) {
    form->Option2->Select();
    form->txtI->Write(QStringLiteral("1000"));
    EXPECT_EQ(Message(), texts::ExceedByPower(QStringLiteral("220")));
    shell::ReleaseForm2();

    form = std::make_unique<MainWindow>();
    form->show();
    form->Option1->Select();
    form->txtP->Write(QStringLiteral("10"));
    form->Command2->Press();
    ASSERT_EQ(Message(), QString());
    form->Option2->Select();
    form->txtI->Write(QStringLiteral("1000"));
    EXPECT_EQ(Message(), texts::ExceedByPower(QStringLiteral("220")));
}

class ScheduleSaveTest : public FormTest {
protected:
    schedulewindow::ScheduleWindow* Open(const QString& path) {
        form->OpenSchedule(path);
        auto* window = form->findChildren<schedulewindow::ScheduleWindow*>().value(0);
        if (window && !window->Finished()) QSignalSpy(window, &schedulewindow::ScheduleWindow::finished).wait(20000);
        return window;
    }
};

TEST_F(ScheduleSaveTest, OneQuestionInRussianBeforeAFileIsWrittenOver) {
    QTemporaryDir dir;
    const QString input = QStringLiteral(KELVO_SOURCE_DIR "/tests/schedule/fixtures/comma.csv");
    auto* window = Open(input);
    ASSERT_TRUE(window);
    const QString existing = dir.filePath(QStringLiteral("result.csv"));
    std::ofstream(existing.toStdString()) << "earlier";
    QStringList asked;
    window->SetConfirmOverwrite([&](const QString& question) {
        asked << question;
        return false;
    });
    EXPECT_FALSE(window->SaveTo(existing).isEmpty());
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0], QStringLiteral("Файл «result.csv» уже есть. Заменить его?"));
    std::ifstream kept(existing.toStdString());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "earlier");
    EXPECT_EQ(window->SaveTo(dir.filePath(QStringLiteral("new.csv"))), QString());  // nothing to ask
    EXPECT_EQ(asked.size(), 1);
}

TEST_F(ScheduleSaveTest, ACancelledCalculationShowsHowFarItWent) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.csv"));
    {
        std::ofstream file(path.toStdString());
        file << "расчет;мощность_кВт;род_тока;напряжение_В;материал;проводник;прокладка;длина_м;потери_%\n";
        for (int row = 0; row < 400000; ++row) file << "прямой;2,5;1ф;220;медь;провод;p1;15;4\n";
    }
    form->OpenSchedule(path);
    auto* window = form->findChildren<schedulewindow::ScheduleWindow*>().value(0);
    ASSERT_TRUE(window);
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Отмена")) button->click();
    if (!window->Finished()) QSignalSpy(window, &schedulewindow::ScheduleWindow::finished).wait(20000);
    ASSERT_TRUE(window->Counts()->text().contains(QStringLiteral("отменен")));
    const QProgressBar* progress = window->findChild<QProgressBar*>();
    ASSERT_TRUE(progress);
    EXPECT_LT(progress->value(), progress->maximum());
}

}  // namespace
}  // namespace kelvo::mainwindow
