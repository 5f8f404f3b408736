// What a new user sees at once: every caption shows its whole text in its place, pictures do not
// overlap or run out of their frames, the windows keep their designed sizes and open over the
// main window. Run at the ratios 1 and 2 (the second run sets QT_SCALE_FACTOR=2).
#include <gtest/gtest.h>

#include "tests/ui/form_fixture.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <memory>

#include "ui/main/main_window.h"
#include "ui/shell/message_window.h"
#include "ui/shell/picture_viewer.h"
#include "ui/shell/program.h"

namespace kelvo::mainwindow {
namespace {

using PolishTest = FormTest;

// Where a label's text is drawn, as the label lays it out.
QRect TextRect(const QLabel& label) {
    int flags = static_cast<int>(label.alignment());
    if (label.wordWrap()) flags |= Qt::TextWordWrap;
    return label.fontMetrics().boundingRect(label.contentsRect(), flags, label.text());
}

TEST_F(PolishTest, EveryCaptionShowsItsWholeText) {
    for (bool reverse : {false, true}) {
        form->Check3->SetValue(reverse);
        form->Check2->SetValue(!reverse);
        for (const QLabel* label : form->findChildren<QLabel*>()) {
            if (!label->isVisible() || label->text().isEmpty() || !label->pixmap().isNull()) continue;
            const std::string name = label->objectName().toStdString();
            EXPECT_TRUE(label->rect().contains(TextRect(*label))) << name << ": " << label->text().toStdString();
            // Inside the window, above its two-pixel border.
            const QRect in_window(label->mapTo(form.get(), TextRect(*label).topLeft()), TextRect(*label).size());
            EXPECT_TRUE(form->rect().adjusted(2, 2, -2, -2).contains(in_window)) << name;
        }
    }
}

TEST_F(PolishTest, TheSquareMarkFollowsItsCaption) {
    for (const auto& [caption, mark] :
         {std::pair{form->Label6, form->Label1}, {form->Label8, form->Label9}, {form->Label30, form->Label29}}) {
        const int text_end =
            caption->x() + TextRect(*caption).right() + 1 - caption->fontMetrics().horizontalAdvance(QLatin1Char(' '));
        EXPECT_GE(mark->x(), text_end) << mark->objectName().toStdString();
        EXPECT_LE(mark->x(), text_end + 2) << mark->objectName().toStdString();
        EXPECT_LT(mark->y(), caption->y());  // raised
    }
}

TEST_F(PolishTest, PicturesStayInTheirFrameApart) {
    const QRect inside = form->Frame8->rect().adjusted(2, 2, -2, -2);
    EXPECT_TRUE(inside.contains(form->Image3->geometry()));
    EXPECT_TRUE(inside.contains(form->Image4->geometry()));
    EXPECT_FALSE(form->Image3->geometry().intersects(form->Image4->geometry()));
    EXPECT_EQ(form->Image3->size(), form->Image3->pixmap().deviceIndependentSize().toSize());
    EXPECT_EQ(form->Image4->size(), form->Image4->pixmap().deviceIndependentSize().toSize());
}

TEST_F(PolishTest, WindowsHaveFixedSizesAndOpenOverTheMainWindow) {
    form->move(10, 10);
    shell::ShowMessage(QStringLiteral("Установите сечение"), shell::MainWindowWhileShown::Visible, true);
    shell::OpenPicture(shell::TableRequest(shell::pictures::Reference::WireCurrents));
    const QRect screen = form->screen()->availableGeometry();
    for (QWidget* window : std::initializer_list<QWidget*>{form.get(), &shell::Form2(), &shell::Form3()}) {
        const std::string name = window->objectName().toStdString();
        EXPECT_EQ(window->minimumSize(), window->size()) << name;
        EXPECT_EQ(window->maximumSize(), window->size()) << name;
        EXPECT_TRUE(screen.contains(window->frameGeometry()) || window->width() > screen.width()) << name;
    }
    // Where it fits, the message window stands in the middle of the main window.
    QRect centred = shell::Form2().frameGeometry();
    centred.moveCenter(form->frameGeometry().center());
    if (screen.contains(centred)) {
        EXPECT_LE((shell::Form2().frameGeometry().center() - form->frameGeometry().center()).manhattanLength(), 2);
    }
}

TEST_F(PolishTest, TheBoxThatTakesTheLoadIsRaised) {
    using Relief = TextBox::Relief;
    EXPECT_EQ(form->txtP->GetRelief(), Relief::Raised);
    EXPECT_EQ(form->txtI->GetRelief(), Relief::Flat);
    form->Option2->Select();
    EXPECT_EQ(form->txtI->GetRelief(), Relief::Raised);
    EXPECT_EQ(form->txtP->GetRelief(), Relief::Flat);
}

}  // namespace
}  // namespace kelvo::mainwindow
