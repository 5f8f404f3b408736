#include <gtest/gtest.h>

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <array>
#include <memory>

#include "ui/main/main_window.h"
#include "ui/main/texts.h"
#include "ui/shell/message_window.h"
#include "ui/shell/picture_viewer.h"
#include "ui/shell/program.h"
#include "ui/shell/qtext.h"

namespace kelvo::mainwindow {
namespace {

using shell::Cascade;
using shell::Form2;
using shell::Form2Exists;
using shell::Q;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        shell::SetEndProgramHandler([] {});
        Cascade::ResetOverflow();
        QGuiApplication::clipboard()->setText(QStringLiteral("the user's own clipboard"));
        form = std::make_unique<MainWindow>();
        form->show();
    }
    void TearDown() override {
        EXPECT_FALSE(Cascade::Overflowed());
        EXPECT_EQ(Cascade::Depth(), 0);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "the user's own clipboard");
        form.reset();
        shell::ReleaseForm2();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        shell::SetEndProgramHandler({});
    }

    // Presses "ОК" and checks that the main window is back.
    void Acknowledge() {
        ASSERT_TRUE(Form2Exists());
        QTest::mouseClick(Form2().Command2(), Qt::LeftButton);
        EXPECT_FALSE(Form2Exists());
        EXPECT_TRUE(form->isVisible());
    }
    QString Message() const { return Form2Exists() ? Form2().Label1()->text() : QString(); }

    // The forward calculation with the load given as power.
    void CalculatePower(const QString& kw) {
        form->Option1->Select();
        form->txtP->Write(kw);
        form->Command2->Press();
    }
    void Recommend() {
        ASSERT_TRUE(form->Timer1->Enabled());
        form->Timer1->Tick();
        EXPECT_FALSE(form->Timer1->Enabled());
    }
    void Reverse(const QString& section) {
        form->Check3->SetValue(true);
        form->Combo3->Write(section);
        form->Command5->Press();
    }

    std::unique_ptr<MainWindow> form;
};

TEST_F(MainWindowTest, StartUpState) {
    for (OptionButton* chosen : {form->Option1, form->Option3, form->p, form->Option5, form->p1, form->k1})
        EXPECT_TRUE(chosen->Value()) << chosen->objectName().toStdString();
    EXPECT_TRUE(form->Check2->Value());
    EXPECT_EQ(form->Combo2->Items(), QStringList({"220", "127", "36", "12"}));
    EXPECT_EQ(form->Combo1->Items(), QStringList({"4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(QStringList({form->Combo2->Text(), form->Combo1->Text(), form->txtL->Text(), form->Text4->Text(),
                           form->Text3->Text(), form->Combo4->Text()}),
              QStringList({"220", "4", "1", "8,8", "211,2", "1"}));
    for (QWidget* hidden : std::initializer_list<QWidget*>{form->Frame17, form->Frame6, form->Frame18, form->Frame22,
                                                           form->Frame12, form->Frame15})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    // The list timer fills the cross-section list on a later turn. (The start-up reset has
    // already released the compact window whose list timer the "провод" click armed.)
    ASSERT_TRUE(form->Timer3->Enabled());
    form->Timer3->Tick();
    EXPECT_EQ(form->Combo3->count(), 20);
    EXPECT_EQ(form->Combo3->Text(), "");
}

TEST_F(MainWindowTest, RecommendationByVoltageLossOverALongLine) {
    form->txtL->Write(QStringLiteral("200"));
    CalculatePower(QStringLiteral("2,5"));
    EXPECT_EQ(form->Text6->Text(), "9,04");
    EXPECT_EQ(form->Text1->Text(), "10");
    Recommend();
    EXPECT_EQ(form->Label4->Caption(), "Выбрать по потерям напряжения сечение 10 мм.кв");
}

TEST_F(MainWindowTest, EditingTheLengthEmptiesOnlyTheRequiredSection) {
    CalculatePower(QStringLiteral("2,5"));
    form->txtL->Write(QStringLiteral("10"));
    EXPECT_EQ(form->Text6->Text(), "");
    EXPECT_EQ(form->Text1->Text(), "0,5");
}

TEST_F(MainWindowTest, MessagesHideTheMainWindowUntilOk) {
    struct Case {
        std::function<void(MainWindow&)> arrange;
        QString message;
    };
    const auto power = [](MainWindow& f) { f.txtP->Write(QStringLiteral("2,5")); };
    // clang-format off
    const Case cases[] = {
        {[](MainWindow& f) { f.txtP->Write(QStringLiteral("2.5")); }, texts::kDecimalComma},
        // "Неустановлен ток", then the empty current cannot be written.
        {[](MainWindow& f) { f.Option2->Select(); }, texts::kDecimalComma},
        {[&](MainWindow& f) { power(f), f.txtL->Write(QString()); }, texts::kNoLength},
        {[&](MainWindow& f) { power(f), f.Frame10->hide(), f.txtL->Write(QString()); }, texts::kNoLength},
        {[&](MainWindow& f) { power(f), f.Frame10->hide(), f.Text6->Write(QStringLiteral("5")); },
         texts::kChooseConductorKind},
        {[](MainWindow& f) { f.txtP->Write(QStringLiteral("500")); }, texts::ExceedByPower(QStringLiteral("500"))},
        {[](MainWindow& f) { f.txtP->Write(QStringLiteral("10")), f.txtL->Write(QStringLiteral("700")), f.p4->Select(); },
         texts::kExceedByLoss},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        form = std::make_unique<MainWindow>();
        form->show();
        c.arrange(*form);
        const QString section_by_loss = form->Text6->Text();
        form->Command2->Press();
        EXPECT_EQ(Message(), c.message);
        EXPECT_FALSE(form->isVisible());
        if (c.message == texts::kChooseConductorKind) {
            EXPECT_EQ(form->Text6->Text(), section_by_loss);
        }
        Acknowledge();
        // "ОК" after a message that hid the window empties the load and the results.
        for (TextBox* box : {form->Text2, form->Text1, form->txtI, form->txtP})
            EXPECT_EQ(box->Text(), "") << box->objectName().toStdString();
        EXPECT_EQ(form->Label4->Caption(), "");
    }
}

TEST_F(MainWindowTest, ExceedMarkerIsRedWithItsMessage) {
    CalculatePower(QStringLiteral("500"));
    EXPECT_EQ(form->Text2->Text(), "1,111");
    EXPECT_EQ(form->Text2->palette().color(QPalette::Text), QColor(255, 0, 0));
}

// Whatever ends a calculation with a message, its "ОК" leaves no figure of an earlier load on
// screen: not the sections, not the recommendation, not the protection.
TEST_F(MainWindowTest, NoFigureOfAnEarlierLoadStaysAfterAMessage) {
    struct Case {
        std::function<void(MainWindow&)> arrange;
        QString message;
    };
    const auto power = [](const char* kw) {
        return [kw](MainWindow& f) { f.Option1->Select(), f.txtP->Write(QString::fromUtf8(kw)); };
    };
    // clang-format off
    const Case cases[] = {
        {power("2.5"), texts::kDecimalComma},
        {power("500"), texts::ExceedByPower(QStringLiteral("500"))},
        {power("-3"), Q(messages::kNegativeLoad)},
        {[&](MainWindow& f) { power("2,5")(f), f.Combo2->Write(QStringLiteral("0")); }, Q(messages::kVoltageNotPositive)},
        {[&](MainWindow& f) { power("2,5")(f), f.txtL->Write(QStringLiteral("0")); }, Q(messages::kLengthNotPositive)},
        {[&](MainWindow& f) { power("2,5")(f), f.Combo1->Write(QStringLiteral("0")); }, Q(messages::kLossNotPositive)},
        // A line so long that the section it needs is above every table.
        {[&](MainWindow& f) { power("10")(f), f.txtL->Write(QStringLiteral("10000000")); },
         Q(messages::kLossSectionBeyondTables)},
        // A current above the table: the message names this load's power, 5000 A at 220 V.
        {[](MainWindow& f) { f.Option2->Select(), f.txtI->Write(QStringLiteral("5000")); },
         texts::ExceedByPower(QStringLiteral("1100"))},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        form = std::make_unique<MainWindow>();
        form->show();
        form->Option2->Select();
        form->txtI->Write(QStringLiteral("23"));
        form->Command2->Press();
        Recommend();
        ASSERT_EQ(form->Text13->Text(), "25");
        ASSERT_FALSE(form->Label4->Caption().isEmpty());

        c.arrange(*form);
        form->Command2->Press();
        if (form->Timer1->Enabled()) form->Timer1->Tick();
        EXPECT_EQ(Message(), c.message);
        Acknowledge();
        for (TextBox* box :
             {form->Text2, form->Text1, form->txtI, form->txtP, form->Text13, form->Text14, form->Text15, form->Text16})
            EXPECT_EQ(box->Text(), "") << box->objectName().toStdString();
        EXPECT_EQ(form->Label4->Caption(), "");
    }
}

// Red marks the exceed marker only: a normal section in the same box is drawn normally again.
TEST_F(MainWindowTest, RedBelongsToTheExceedMarkerOnly) {
    const QColor normal = form->Text2->palette().color(QPalette::Text);
    CalculatePower(QStringLiteral("500"));
    EXPECT_EQ(form->Text2->palette().color(QPalette::Text), QColor(255, 0, 0));
    Acknowledge();
    CalculatePower(QStringLiteral("2,5"));
    EXPECT_EQ(form->Text2->Text(), "0,75");
    EXPECT_EQ(form->Text2->palette().color(QPalette::Text), normal);
}

// Closed as a window manager closes them, the windows do what their own close buttons do: the
// main window and the message window end the program, the viewer only goes.
TEST_F(MainWindowTest, WindowManagerClosesDoWhatTheCloseButtonsDo) {
    int ends = 0;
    shell::SetEndProgramHandler([&] { ++ends; });
    shell::OpenPicture(shell::TableRequest(shell::pictures::Reference::Power));
    shell::Form3().close();
    EXPECT_FALSE(shell::Form3Exists());
    EXPECT_EQ(ends, 0);
    shell::OpenPicture(shell::TableRequest(shell::pictures::Reference::Power));
    form->close();
    EXPECT_EQ(ends, 1);
    CalculatePower(QStringLiteral("2.5"));
    Form2().close();
    EXPECT_EQ(ends, 2);
    shell::ReleaseForm3();
}

TEST_F(MainWindowTest, AlternativeSections) {
    const std::pair<const char*, const char*> cases[] = {
        {"1,2", "или 1,5 мм.кв"}, {"2", "или 2,5 мм.кв"}, {"3", "или 4 мм.кв"},
        {"5", "или 6 мм.кв"},     {"8", "или 10 мм.кв"},  {"10", ""},
    };
    for (const auto& [section, alternative] : cases) {
        form->Text2->Write(QString::fromUtf8(section));
        EXPECT_EQ(form->Label21->Caption(), alternative);
        form->Text1->Write(QString::fromUtf8(section));
        EXPECT_EQ(form->Label20->Caption(), alternative);
    }
}

TEST_F(MainWindowTest, RecommendationOnABoxThatIsNotANumber) {
    form->Text2->Write(QString());
    form->Text1->Write(QStringLiteral("4"));
    Recommend();
    EXPECT_EQ(Message(), texts::kTooLarge);
    Acknowledge();
}

TEST_F(MainWindowTest, MultiplicityRunsThePipelineAgainAndResetEmptiesEverything) {
    form->Option2->Select();
    form->txtI->Write(QStringLiteral("23"));
    form->Command2->Press();
    EXPECT_TRUE(form->Frame22->isVisible());
    form->Combo4->Choose(QStringLiteral("1,25"));
    EXPECT_EQ(QStringList({form->Text14->Text(), form->Text13->Text(), form->Text15->Text(), form->Text16->Text()}),
              QStringList({"28,75", "30", "40", "30"}));
    EXPECT_EQ(form->TextSlot(), "23");
    form->Command7->Press();
    EXPECT_FALSE(form->Frame22->isVisible());
    form->Command2->Press();
    EXPECT_TRUE(form->Frame22->isVisible());

    form->Command3->Press();
    for (TextBox* box : {form->txtP, form->txtI, form->Text2, form->Text1, form->Text6, form->Text7, form->Text9,
                         form->Text10, form->Text11, form->Text13, form->Text14, form->Text15, form->Text16})
        EXPECT_EQ(box->Text(), "") << box->objectName().toStdString();
    EXPECT_EQ(form->Combo4->Text(), "1");
    EXPECT_EQ(form->frmS().Combo2.Text(), "1");
    EXPECT_FALSE(form->Frame22->isVisible());
    // A new load gets its own protection in full, none of the earlier load's.
    form->Option4->Select();
    CalculatePower(QStringLiteral("540"));
    EXPECT_EQ(form->Text13->Text(), "1000");
    EXPECT_EQ(form->Text15->Text(), "");
    EXPECT_EQ(form->Text16->Text(), "");
}

TEST_F(MainWindowTest, TypingACurrentRunsTheSelectionAndTheProtection) {
    form->txtI->setFocus();
    QTest::keyClicks(form->txtI, QStringLiteral("23"));
    EXPECT_EQ(form->Text2->Text(), "1,5");
    EXPECT_EQ(form->Text13->Text(), "25");
    EXPECT_EQ(form->Text15->Text(), "40");
    EXPECT_EQ(form->Text16->Text(), "30");
    // A current on its way ("23." before the user fixes it) is no current: no message, no
    // reset, the typed text stays.
    QTest::keyClicks(form->txtI, QStringLiteral("."));
    EXPECT_FALSE(Form2Exists());
    EXPECT_EQ(form->txtI->Text(), "23.");
    EXPECT_EQ(form->Text2->Text(), "");
    EXPECT_EQ(form->Text13->Text(), "25");
}

TEST_F(MainWindowTest, EveryPressRunsBothSelectionsAgain) {
    form->txtL->Write(QStringLiteral("700"));
    CalculatePower(QStringLiteral("10"));
    EXPECT_EQ(form->Text6->Text(), "126,55");
    EXPECT_EQ(form->Text1->Text(), "150");
    EXPECT_EQ(form->Text2->Text(), "6");
    // Only the laying changes: the same S must now exceed the closed-wiring table.
    form->p4->Select();
    form->Command2->Press();
    EXPECT_EQ(form->Text1->Text(), "1,111");
    EXPECT_EQ(form->Text2->Text(), "10");
    EXPECT_EQ(Message(), texts::kExceedByLoss);
    Acknowledge();
}

TEST_F(MainWindowTest, VoltageFiguresFollowTheSupplyAndTheBoxes) {
    const struct {
        std::function<void(MainWindow&)> act;
        const char *loss_volts, *remaining;
        // clang-format off
    } cases[] = {
        {[](MainWindow& f) { f.Option4->Select(); }, "15,2", "364,8"},
        {[](MainWindow& f) { f.Combo1->Write(QStringLiteral("5")); }, "19", "361"},
        {[](MainWindow& f) { f.Combo2->Write(QStringLiteral("0.4")); }, "", ""},
        {[](MainWindow& f) { f.Option3->Select(); }, "11", "209"},
    };
    // clang-format on
    for (const auto& c : cases) {
        c.act(*form);
        EXPECT_EQ(form->Text4->Text(), c.loss_volts);
        EXPECT_EQ(form->Text3->Text(), c.remaining);
    }
    EXPECT_EQ(form->Combo2->Items(), QStringList({"220", "127", "36", "12"}));
    form->Combo2->Write(QStringLiteral("400"));  // a typed voltage gives way to the list's
    form->Option4->Select();
    EXPECT_EQ(form->Combo2->Text(), "380");
    EXPECT_EQ(form->Combo2->Items(), QStringList({"380", "220", "127", "120"}));
    form->Option17->Select();
    EXPECT_EQ(form->Combo2->Text(), "12");
    EXPECT_EQ(form->Combo2->Items(), QStringList({"220", "110", "36", "12"}));
}

TEST_F(MainWindowTest, ConductorKindShowsItsLayingPanelAndRebuildsTheLists) {
    form->Timer3->Tick();
    form->Option6->Select();
    EXPECT_EQ(form->Combo3->itemText(0), "0,5");  // a material alone does not rebuild
    form->k->Select();
    EXPECT_TRUE(form->Frame6->isVisible());
    EXPECT_FALSE(form->Frame10->isVisible());
    ASSERT_TRUE(form->Timer3->Enabled());
    form->Timer3->Tick();
    EXPECT_EQ(form->Combo3->count(), 14);
    form->p3->Select();  // the hidden wire panel keeps its own choice
    form->p->Select();
    EXPECT_TRUE(form->Frame10->isVisible());
    EXPECT_TRUE(form->p3->Value());
    form->Timer3->Tick();
    EXPECT_EQ(form->Combo3->Items().mid(0, 3), QStringList({"2,5", "3", "4"}));
}

// The reverse panel is compared with the batch figures elsewhere; here what only the window
// does: 830 A has no residual-current device and is handed over to the pipeline, and a section
// between two rows leaves the panel empty without a message.
TEST_F(MainWindowTest, ReverseCalculations) {
    const std::array<const char*, 6> cases[] = {
        {"400", "830", "182,6", "1000", "", ""},
        {"0,6", "", "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        Reverse(QString::fromUtf8(c[0]));
        EXPECT_FALSE(Form2Exists());
        EXPECT_EQ(QStringList({form->Text7->Text(), form->Text5->Text(), form->Text9->Text(), form->Text10->Text(),
                               form->Text11->Text()}),
                  QStringList({c[1], c[2], c[3], c[4], c[5]}));
        if (*c[1]) {
            EXPECT_EQ(form->frmS().txtP.Text(), c[2]);
        }
    }
}

TEST_F(MainWindowTest, ReverseCalculationAboveTheTable) {
    form->p2->Select();
    Reverse(QStringLiteral("185"));
    EXPECT_EQ(Message(), pipeline::CompactWindow::kNoCurrentMessage);
    EXPECT_FALSE(form->isVisible());
    for (TextBox* box : {form->Text5, form->Text7, form->Text9, form->Text10, form->Text11, form->txtI})
        EXPECT_EQ(box->Text(), "") << box->objectName().toStdString();
    EXPECT_EQ(form->Combo3->Text(), "185");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Acknowledge();
}

TEST_F(MainWindowTest, ReverseCalculationWithoutASection) {
    form->Check3->SetValue(true);
    form->Command5->Press();
    EXPECT_EQ(Message(), texts::kChooseSection);
    EXPECT_TRUE(Form2().Label1()->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(form->isVisible());
    form->txtL->Write(QStringLiteral("7"));
    QTest::mouseClick(Form2().Command2(), Qt::LeftButton);
    EXPECT_EQ(form->txtL->Text(), "7");  // a notice that hid nothing wipes nothing
}

TEST_F(MainWindowTest, LayingChangeInTheReverseModeKeepsTheSection) {
    Reverse(QStringLiteral("16"));
    EXPECT_EQ(form->Text7->Text(), "100");
    form->k->Select();
    form->k3->Select();
    EXPECT_EQ(form->Combo3->Text(), "16");
    EXPECT_EQ(form->Text7->Text(), "");
    EXPECT_EQ(form->TextSlot(), "16");
    form->Command5->Press();
    EXPECT_EQ(form->Text7->Text(), "135");
}

TEST_F(MainWindowTest, TypingAPowerRefreshesTheReversePanel) {
    form->txtI->Write(QStringLiteral("23"));
    form->txtP->Write(QStringLiteral("5"));
    EXPECT_EQ(form->Text5->Text(), "5");
    EXPECT_EQ(form->Text7->Text(), "23");
    EXPECT_EQ(form->Text9->Text(), "25");
}

TEST_F(MainWindowTest, KeyboardPath) {
    // Enter in the power box calculates; Esc answers the message.
    form->activateWindow();
    form->txtP->setFocus();
    QTest::keyClicks(form->txtP, QStringLiteral("2,5"));
    QTest::keyClick(form->txtP, Qt::Key_Return);
    EXPECT_EQ(form->txtI->Text(), "11,36");
    form->txtL->Write(QString());
    QTest::keyClick(form->txtL, Qt::Key_Return);
    ASSERT_EQ(Message(), texts::kNoLength);
    QTest::keyClick(&Form2(), Qt::Key_Escape);
    EXPECT_FALSE(Form2Exists());
    EXPECT_TRUE(form->isVisible());
    // Enter in the section box runs the reverse calculation.
    form->Check3->SetValue(true);
    form->Combo3->Write(QStringLiteral("2,5"));
    QTest::keyClick(form->Combo3->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(form->Text7->Text(), "30");
    // A number typed into a list box stays as typed when the user moves on: "22" is not
    // completed to the listed "220", nor "3" to "36", nor "1" to "10".
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Check2->SetValue(true);
    struct Typed {
        ComboBox* box;
        const char* text;
    };
    for (const Typed& typed : {Typed{form->Combo2, "22"}, Typed{form->Combo2, "3"}, Typed{form->Combo1, "1"}}) {
        typed.box->setFocus();
        typed.box->Write(QString());
        QTest::keyClicks(typed.box->lineEdit(), QString::fromUtf8(typed.text));
        QTest::keyClick(typed.box->lineEdit(), Qt::Key_Tab);
        EXPECT_EQ(typed.box->Text(), QString::fromUtf8(typed.text));
    }
    // Every box a user reads or fills has a name for a screen reader.
    for (QWidget* box : std::initializer_list<QWidget*>{
             form->txtP, form->txtI, form->txtL, form->Combo1, form->Combo2, form->Combo3, form->Text1, form->Text2,
             form->Text5, form->Text7, form->Text9, form->Text10, form->Text11, form->Text13, form->Text14,
             form->Text15, form->Text16, form->Combo4})
        EXPECT_FALSE(box->accessibleName().isEmpty()) << box->objectName().toStdString();
    // A frame is a group that a screen reader names by its caption.
    for (Frame* frame : {form->Frame1, form->Frame22}) {
        QAccessibleInterface* group = QAccessible::queryAccessibleInterface(frame);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->role(), QAccessible::Grouping);
        EXPECT_EQ(group->text(QAccessible::Name), frame->title());
        EXPECT_FALSE(frame->title().isEmpty());
    }
    // Tab from the power box reaches the current box, then "Рассчитать".
    form->Check2->SetValue(true);
    EXPECT_EQ(form->txtP->nextInFocusChain(), form->txtI);
    EXPECT_EQ(form->txtI->nextInFocusChain(), form->Command2);
}

}  // namespace
}  // namespace kelvo::mainwindow
