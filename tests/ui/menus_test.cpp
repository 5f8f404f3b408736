#include <gtest/gtest.h>

#include <QApplication>
#include <QWindow>

#include <QMouseEvent>
#include <QTest>
#include <memory>

#include "ui/main/main_window.h"
#include "ui/main/texts.h"
#include "ui/shell/connectivity.h"
#include "ui/shell/links.h"
#include "ui/shell/message_window.h"
#include "ui/shell/picture_viewer.h"
#include "ui/shell/program.h"
#include "ui/shell/skin.h"

namespace kelvo::mainwindow {
namespace {

namespace colors = shell::colors;
using shell::pictures::Reference;

class MenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        shell::SetEndProgramHandler([] {});
        shell::SetUrlOpener([this](const QUrl& url) {
            opened << url.toString(QUrl::FullyEncoded);
            return true;
        });
        shell::SetConnectivityCheck([this] { return connected; });
        form = std::make_unique<MainWindow>();
        form->show();
    }
    void TearDown() override {
        form.reset();
        shell::ReleaseForm2();
        shell::ReleaseForm3();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        shell::SetEndProgramHandler({});
        shell::SetUrlOpener({});
        shell::SetConnectivityCheck({});
    }

    void Hover(const char* name) {
        QWidget* control = form->findChild<QWidget*>(QString::fromUtf8(name));
        ASSERT_NE(control, nullptr) << name;
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), control->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(control, &move);
    }
    static QColor Ground(QWidget* w) { return w->palette().color(QPalette::Window); }

    std::unique_ptr<MainWindow> form;
    QStringList opened;
    bool connected = true;
};

TEST_F(MenusTest, PanelsOpenOnClickAndCloseByThePointer) {
    QTest::mouseClick(form->Label22, Qt::LeftButton);
    EXPECT_TRUE(form->Frame15->isVisible());
    EXPECT_EQ(Ground(form->Label22), colors::kMenuOpened);
    EXPECT_EQ(Ground(form->Frame15), colors::kPanelOpened);
    Hover("Label22");
    EXPECT_EQ(form->Label22->BorderStyle(), 1);
    Hover("Label44");  // to the neighbour: the panel that was left closes
    EXPECT_FALSE(form->Frame15->isVisible());
    EXPECT_EQ(Ground(form->Label22), colors::kMenuBar);
    EXPECT_EQ(form->Label22->BorderStyle(), 0);
    EXPECT_EQ(form->Label44->BorderStyle(), 1);

    QTest::mouseClick(form->Label44, Qt::LeftButton);
    EXPECT_TRUE(form->Frame21->isVisible());
    EXPECT_EQ(Ground(form->Label44), colors::kMenuOpened);
    QTest::mouseClick(form->Label22, Qt::LeftButton);  // a click elsewhere closes the tables panel
    EXPECT_FALSE(form->Frame21->isVisible());
    Hover("Frame5");  // closes the calculations panel
    EXPECT_FALSE(form->Frame15->isVisible());
    QTest::mouseClick(form->Label44, Qt::LeftButton);
    Hover("Label46");
    Hover("Frame1");  // closes both, keeps the link labels' borders
    EXPECT_FALSE(form->Frame21->isVisible());
    EXPECT_EQ(Ground(form->Label44), colors::kMenuBar);
    EXPECT_EQ(form->Label46->BorderStyle(), 1);
    Hover("Frame4");
    EXPECT_EQ(form->Label46->BorderStyle(), 0);
    QTest::mouseClick(form->Label44, Qt::LeftButton);
    Hover("Label45");
    EXPECT_FALSE(form->Frame21->isVisible());
    EXPECT_EQ(form->Label45->BorderStyle(), 1);
}

TEST_F(MenusTest, PanelsCloseWhenThePointerLeavesOnEscapeAndOnAClickElsewhere) {
    for (const char* name : {"Label22", "Label44"}) {
        SCOPED_TRACE(name);
        QWidget* label = form->findChild<QWidget*>(QString::fromUtf8(name));
        QWidget* panel = label == form->Label22 ? static_cast<QWidget*>(form->Frame15) : form->Frame21;
        const auto open = [&] {
            QTest::mouseClick(label, Qt::LeftButton);
            ASSERT_TRUE(panel->isVisible());
        };
        open();
        Hover(name);  // over its own label: stays
        EXPECT_TRUE(panel->isVisible());
        Hover("Command2");  // off the panel, over the window's buttons
        EXPECT_FALSE(panel->isVisible());
        open();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(), Qt::Key_Escape);
        EXPECT_FALSE(panel->isVisible());
        open();
        QTest::mouseClick(form->Command3, Qt::LeftButton);  // a click elsewhere ("Сброс")
        EXPECT_FALSE(panel->isVisible());
    }
}

TEST_F(MenusTest, ClosingTheViewerUnticksItsEntry) {
    QTest::mouseClick(form->Label44, Qt::LeftButton);
    form->Check5->SetValue(true);
    ASSERT_TRUE(shell::Form3Exists());
    shell::ReleaseForm3();  // the viewer's close
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(form->Check5->Value());
}

TEST_F(MenusTest, ChoosingACalculationClosesThePanel) {
    QTest::mouseClick(form->Label22, Qt::LeftButton);
    QTest::mouseClick(form->Check3, Qt::LeftButton);
    EXPECT_TRUE(form->Check3->Value());
    EXPECT_FALSE(form->Frame15->isVisible());
    EXPECT_EQ(Ground(form->Label22), colors::kMenuOpened);  // until the pointer closes the menus
}

TEST_F(MenusTest, TablesAndHelpOpenInTheViewer) {
    struct Case {
        CheckBox* MainWindow::*box;
        Reference picture;
    };
    const Case cases[] = {{&MainWindow::Check4, Reference::Power},
                          {&MainWindow::Check5, Reference::Breakers},
                          {&MainWindow::Check6, Reference::WireCurrents}};
    for (const auto& c : cases) {
        QTest::mouseClick(form->Label44, Qt::LeftButton);
        CheckBox* box = form.get()->*c.box;
        QTest::mouseClick(box, Qt::LeftButton);
        ASSERT_TRUE(shell::Form3Exists());
        EXPECT_EQ(shell::Form3().Shown(), c.picture);
        EXPECT_EQ(shell::Form3().Label4()->text(), "Таблица");
        EXPECT_FALSE(form->Frame21->isVisible());
        for (CheckBox* other : {form->Check4, form->Check5, form->Check6}) EXPECT_EQ(other->Value(), other == box);
    }
    // A click on the ticked box clears it and shows nothing.
    shell::ReleaseForm3();
    QTest::mouseClick(form->Label44, Qt::LeftButton);
    QTest::mouseClick(form->Check6, Qt::LeftButton);
    EXPECT_FALSE(form->Check6->Value());
    EXPECT_FALSE(shell::Form3Exists());
    // Help opens in the viewer too, and its label loses the hover border.
    Hover("Label46");
    QTest::mouseClick(form->Label46, Qt::LeftButton);
    EXPECT_EQ(shell::Form3().Shown(), Reference::Help);
    EXPECT_EQ(shell::Form3().Label4()->text(), "Справка");
    EXPECT_EQ(form->Label46->BorderStyle(), 0);
}

TEST_F(MenusTest, LinksHandOverWellFormedUrls) {
    QTest::mouseClick(form->Image3, Qt::LeftButton);
    QTest::mouseClick(form->Image4, Qt::LeftButton);
    QTest::mouseClick(form->Label19, Qt::LeftButton);
    QTest::mouseClick(form->Label45, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList({"http://kelvo.example", "http://kelvo.example", "http://kelvo.example",
                                   "http://kelvo.example/catalog.php"}));
    EXPECT_FALSE(shell::Form2Exists());
}

TEST_F(MenusTest, CatalogueWithoutAConnection) {
    connected = false;
    form->txtP->Write(QStringLiteral("2,5"));
    Hover("Label45");
    QTest::mouseClick(form->Label45, Qt::LeftButton);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(shell::Form2().Label1()->text(), texts::kNoConnection);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->Label45->BorderStyle(), 0);
    QTest::mouseClick(shell::Form2().Command2(), Qt::LeftButton);
    EXPECT_EQ(form->txtP->Text(), "2,5");  // the notice hid nothing, so it wipes nothing
}

TEST_F(MenusTest, HintLine) {
    // Every control of the hint table that the window has writes its text.
    int hovered = 0;
    for (const auto& hint : texts::kHints) {
        for (const QString& name : QString::fromUtf8(hint.controls).split(QLatin1Char(' '))) {
            if (!form->findChild<QWidget*>(name)) continue;
            form->Label2->SetCaption(QStringLiteral("x"));
            Hover(name.toUtf8().constData());
            EXPECT_EQ(form->Label2->Caption(), QString::fromUtf8(hint.text)) << name.toStdString();
            ++hovered;
        }
    }
    EXPECT_GE(hovered, 38);
    // The composed voltage hint follows the supply.
    Hover("Text4");
    EXPECT_EQ(form->Label2->Caption(), "Номинальное напряжение 220 В при 4 % потерь составит 211,2 В");
    form->Option4->Select();
    Hover("Text4");
    EXPECT_EQ(form->Label2->Caption(), "Номинальное напряжение 380 В при 4 % потерь составит 364,8 В");
    // A control without an entry leaves the line as it is.
    Hover("Command2");
    EXPECT_EQ(form->Label2->Caption(), "Номинальное напряжение 380 В при 4 % потерь составит 364,8 В");
}

// Changing the window's flags re-creates it: it must stay shown where it was.
// "Всегда сверху" changes the stacking only: the same native window keeps its place and the
// keyboard focus, so that what the user types next still arrives.
TEST_F(MenusTest, AlwaysOnTopKeepsTheWindowItsPlaceAndItsFocus) {
    form->move(100, 120);
    QApplication::setActiveWindow(form.get());
    const QRect geometry = form->geometry();
    const WId id = form->winId();
    for (const bool on_top : {true, false}) {
        form->txtL->setFocus();
        form->Check1->SetValue(on_top);
        EXPECT_EQ(static_cast<bool>(form->windowFlags() & Qt::WindowStaysOnTopHint), on_top);
        EXPECT_EQ(static_cast<bool>(form->windowHandle()->flags() & Qt::WindowStaysOnTopHint), on_top);
        EXPECT_EQ(form->geometry(), geometry);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->winId(), id);
        EXPECT_EQ(QApplication::focusWidget(), form->txtL);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
        EXPECT_EQ(form->txtL->Text(), on_top ? "15" : "155");
    }
}

}  // namespace
}  // namespace kelvo::mainwindow
