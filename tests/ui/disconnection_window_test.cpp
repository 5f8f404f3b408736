// The disconnection check's window over the main window's last calculation: opened from the
// calculations menu, the same figures as kelvo-calc gives the same line, the verdict in words and
// colour, and never a figure of an earlier load after a message.
#include <gtest/gtest.h>

#include "tests/ui/form_fixture.h"

#include <QApplication>
#include <QTest>

#include "core/messages.h"
#include "schedule/row.h"
#include "ui/disconnection/disconnection_window.h"

namespace kelvo::mainwindow {
namespace {

class DisconnectionWindowTest : public FormTest {
protected:
    disconnection::DisconnectionWindow* Window() {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<disconnection::DisconnectionWindow*>(window)) return found;
        return nullptr;
    }
    void Calculate(const char* kw, const char* length) {
        form->Option1->Select();
        form->txtP->Write(QString::fromUtf8(kw));
        form->txtL->Write(QString::fromUtf8(length));
        form->Command2->Press();
        if (form->Timer1->Enabled()) form->Timer1->Tick();
    }
    void TearDown() override {
        if (auto* window = Window()) delete window;
        FormTest::TearDown();
    }
};

TEST_F(DisconnectionWindowTest, ShowsWhatKelvoCalcGivesTheSameLine) {
    Calculate("2,5", "50");
    form->Check7->SetValue(true);  // "Проверка отключения при КЗ"
    auto* window = Window();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    window->UpstreamImpedance()->setText(QStringLiteral("0,3"));

    // kelvo-calc on the same line.
    const std::vector<std::string> header = {"мощность_кВт", "род_тока",  "напряжение_В",
                                             "материал",     "проводник", "прокладка",
                                             "длина_м",      "потери_%",  "сопротивление_петли_Ом"};
    const std::vector<std::string> row = {"2,5", "1ф", "220", "медь", "провод", "p1", "50", "4", "0,3"};
    LineResult result;
    schedule::DisconnectionFields fields;
    ASSERT_TRUE(schedule::CalculateRow(schedule::ColumnMap({header.begin(), header.end()}), {row.begin(), row.end()},
                                       result, false, nullptr, &fields));
    EXPECT_TRUE(window->FaultCurrent()->text().contains(QString::fromStdString(fields.fault_current)))
        << window->FaultCurrent()->text().toStdString() << " / " << fields.fault_current;
    EXPECT_TRUE(window->TripCurrent()->text().contains(QString::fromStdString(fields.trip_current)))
        << window->TripCurrent()->text().toStdString() << " / " << fields.trip_current << " "
        << window->Line()->text().toStdString();
    EXPECT_TRUE(window->LongestLine()->text().contains(QString::fromStdString(fields.longest_line)));
    EXPECT_TRUE(window->SmallestSection()->text().contains(QString::fromStdString(fields.smallest_section + " мм²")));
    EXPECT_EQ(window->Verdict()->text(), fields.verdict == "обеспечено" ? QStringLiteral("Отключение обеспечено")
                                                                        : QStringLiteral("Отключение не обеспечено"));
    EXPECT_EQ(window->Verdict()->palette().color(QPalette::WindowText), QColor(0, 120, 0));

    // A D breaker on the same line needs twice the current of a C one.
    window->Characteristic()->setCurrentIndex(2);
    EXPECT_EQ(window->Verdict()->text(), QStringLiteral("Отключение не обеспечено"));
    EXPECT_EQ(window->Verdict()->palette().color(QPalette::WindowText), QColor(190, 0, 0));
    EXPECT_FALSE(window->UpstreamImpedance()->accessibleName().isEmpty());
}

TEST_F(DisconnectionWindowTest, FollowsTheMainWindowAndNeverShowsAnEarlierLoad) {
    Calculate("2,5", "50");
    form->Check7->SetValue(true);
    auto* window = Window();
    ASSERT_TRUE(window);
    window->UpstreamImpedance()->setText(QStringLiteral("0,3"));
    const QString before = window->FaultCurrent()->text();
    ASSERT_FALSE(before.isEmpty());
    Calculate("2,5", "80");  // a longer line: a smaller fault current
    EXPECT_FALSE(window->FaultCurrent()->text().isEmpty());
    EXPECT_NE(window->FaultCurrent()->text(), before);
    // A calculation that ends in a message: its "ОК" empties the main window and the check.
    Calculate("2.5", "80");
    ASSERT_TRUE(shell::Form2Exists());
    QTest::mouseClick(shell::Form2().Command2(), Qt::LeftButton);
    EXPECT_TRUE(window->FaultCurrent()->text().isEmpty());
    EXPECT_TRUE(window->Verdict()->text().isEmpty() || window->Verdict()->text().startsWith(QStringLiteral("Нет")));
}

TEST_F(DisconnectionWindowTest, ShowsTheSettledLineAloneWithItsOwnInputs) {
    Calculate("2,5", "50");
    form->Check7->SetValue(true);
    auto* window = Window();
    ASSERT_TRUE(window);
    window->UpstreamImpedance()->setText(QStringLiteral("0,3"));
    const QString line = window->Line()->text();
    EXPECT_TRUE(line.contains(QStringLiteral("50 м, автомат 12,5 А"))) << line.toStdString();
    // A new multiplicity reselects the breaker: the check follows it.
    form->Combo4->Choose(QStringLiteral("2"));
    EXPECT_TRUE(window->Line()->text().contains(QStringLiteral("автомат 25 А")))
        << window->Line()->text().toStdString();
    // Inputs changed without "Рассчитать": the window keeps the line calculated, never a mix.
    form->Option6->Select();  // aluminium
    form->txtL->Write(QStringLiteral("15"));
    window->close();
    form->Check7->SetValue(true);
    EXPECT_TRUE(Window()->Line()->text().contains(QStringLiteral("медь, 2,5 мм², 50 м, автомат 25 А")))
        << Window()->Line()->text().toStdString();
    // A calculation under way empties it, and one that ends in a message leaves it empty.
    form->txtL->Write(QString());
    form->Command2->Press();
    EXPECT_TRUE(Window()->FaultCurrent()->text().isEmpty());
    EXPECT_TRUE(Window()->Line()->text().startsWith(QStringLiteral("Нет расчета")));
}

TEST_F(DisconnectionWindowTest, TheReverseLineIsCheckedAtTheLengthTypedInTheWindow) {
    form->Check3->SetValue(true);
    form->Combo3->Write(QStringLiteral("2,5"));
    form->Command5->Press();
    form->Check7->SetValue(true);
    auto* window = Window();
    ASSERT_TRUE(window);
    ASSERT_TRUE(window->Length()->isVisible());
    window->UpstreamImpedance()->setText(QStringLiteral("0,3"));
    EXPECT_FALSE(window->LongestLine()->text().isEmpty())  // the longest line needs no length
        << window->Line()->text().toStdString() << " | " << window->Verdict()->text().toStdString() << " | "
        << form->Text13->Text().toStdString() << " | " << form->Combo3->Text().toStdString();
    EXPECT_TRUE(window->FaultCurrent()->text().isEmpty());
    window->Length()->setText(QStringLiteral("20"));
    EXPECT_FALSE(window->FaultCurrent()->text().isEmpty());
    EXPECT_TRUE(window->Verdict()->text().startsWith(QStringLiteral("Отключение")));
}

TEST_F(DisconnectionWindowTest, NoBreakerAndTypingSlipsAreSaidInKelvoCalcsWords) {
    auto* window = new disconnection::DisconnectionWindow();
    disconnection::LineSource
        line{SupplyKind::ThreePhase, Material::Copper,       ConductorKind::Cable,
             LayingMethod::k1,       QStringLiteral("380"),  QStringLiteral("50"),
             QStringLiteral("50"),   QStringLiteral("1,111")};  // the mark of a current above every table
    window->SetSource(line);
    const QColor neutral = window->palette().color(QPalette::WindowText);
    struct Case {
        const char* typed;
        std::string verdict;
    };
    for (const Case& c : {Case{"0,3", "Отключение " + std::string(messages::kDisconnectionNoBreakerOrSection)},
                          Case{"0.3", messages::kBadUpstreamImpedance.For("0.3")},
                          Case{"-1", messages::kBadUpstreamImpedance.For("-1")}}) {
        window->UpstreamImpedance()->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(window->Verdict()->text().toStdString(), c.verdict) << c.typed;
        EXPECT_EQ(window->Verdict()->palette().color(QPalette::WindowText), neutral) << c.typed;
        EXPECT_TRUE(window->TripCurrent()->text().isEmpty()) << c.typed;
    }
    delete window;
}

}  // namespace
}  // namespace kelvo::mainwindow
