// The laying conditions in the desktop program: the window of their own and what the main window
// makes of them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "tests/ui/form_fixture.h"
#include "ui/conditions/conditions_window.h"

namespace kelvo::mainwindow {
namespace {

// The laying conditions' window: its K corrects the section by current and the reverse panel's
// maximum current, the caption says so, conditions it cannot use are said, "По умолчанию" returns
// to the tables' own.
TEST_F(FormTest, LayingConditionsCorrectTheSectionByCurrent) {
    form->Check8->SetValue(true);
    conditions::ConditionsWindow* window = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<conditions::ConditionsWindow*>(top)) window = found;
    ASSERT_TRUE(window);
    form->Option2->Select();
    for (const auto& [current, section] : {std::pair{"23,7", "2,5"}, std::pair{"23,71", "4"}}) {
        window->Ambient()->setText(QStringLiteral("40"));
        form->txtI->Write(QString::fromUtf8(current));
        form->Command2->Press();
        EXPECT_EQ(form->Text2->Text(), QString::fromUtf8(section)) << current;
        EXPECT_EQ(form->Frame11->title(), "по длит. нагрузке, K = 0,79");
        EXPECT_TRUE(window->Factors()->text().contains("K = Kt × Kn = 0,79"));
    }
    window->Ambient()->setText(QStringLiteral("55"));
    EXPECT_TRUE(window->Factors()->text().startsWith("Температура среды выше +50 °C"));
    EXPECT_EQ(form->Frame11->title(), "по длит. нагрузке, K = 1 (?)");
    QTest::mouseClick(window->Defaults(), Qt::LeftButton);
    EXPECT_EQ(form->Frame11->title(), "по длительной нагрузке");
    EXPECT_EQ(form->Text2->Text(), "2,5");  // 23,71 A at the tables' own conditions
    window->Ambient()->setText(QStringLiteral("40"));
    form->Check3->SetValue(true);
    form->Combo3->Write(QStringLiteral("2,5"));
    form->Command5->Press();
    EXPECT_EQ(form->Text7->Text(), "23,7");
    EXPECT_FALSE(shell::Form2Exists());
    delete window;
}

}  // namespace
}  // namespace kelvo::mainwindow
