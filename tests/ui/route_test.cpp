// The route of a click through the handlers, recorded by their design names and compared with
// the route written at the head of the calculation flow: a change to the cascade's order fails
// here with a readable difference.
#include <gtest/gtest.h>

#include "tests/ui/form_fixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>

#include "ui/main/design_names.h"
#include "ui/main/main_window.h"
#include "ui/shell/message_window.h"
#include "ui/shell/program.h"

namespace kelvo::mainwindow {
namespace {

using shell::Cascade;

class RouteTest : public FormTest {
protected:
    void Record() {
        shell::Cascade::SetTrace([this](const QString& step) { route << step; });
    }
    QStringList route;
};

TEST_F(RouteTest, ForwardClick) {
    form->txtP->Write(QStringLiteral("2,5"));
    Record();
    form->Command2->Press();
    form->Timer1->Tick();
    EXPECT_EQ(route.join(QLatin1Char('\n')).toStdString(),
              QStringList({"Command2.Click", "txtI.Change", "Text2.Change", "frmS.Text2.Change", "frmS.Text4.Change",
                           "frmS.Text3.Change", "frmS.Text5.Change", "frmS.Text7.Change", "frmS.Text6.Change",
                           "Text6.Change", "Text1.Change", "Timer1.Timer", "Text1.Change"})
                  .join(QLatin1Char('\n'))
                  .toStdString());
}

TEST_F(RouteTest, ReverseClick) {
    form->Check3->SetValue(true);
    form->Combo3->Write(QStringLiteral("2,5"));
    Record();
    form->Command5->Press();
    EXPECT_EQ(route.join(QLatin1Char('\n')).toStdString(),
              QStringList({"Command5.Click",    "Command3.Click",    "frmS.Text1.Change", "frmS.Text2.Change",
                           "frmS.Text4.Change", "frmS.Text3.Change", "frmS.Text5.Change", "frmS.Text7.Change",
                           "frmS.Text6.Change", "Option2.Click",     "txtI.Change",       "Text2.Change",
                           "Command2.Click",    "txtI.Change",       "Text2.Change",      "frmS.Text2.Change",
                           "txtI.Change",       "Text2.Change",      "frmS.Text2.Change", "txtP.Change",
                           "Text6.Change",      "Text1.Change"})
                  .join(QLatin1Char('\n'))
                  .toStdString());
    EXPECT_EQ(form->Text7->Text(), "30");  // 2,5 mm² copper wire laid open
}

// Every design name with its role stands in the page that explains them, and every control of
// the main window that has a name has an entry.
TEST_F(RouteTest, EveryDesignNameIsExplained) {
    QFile page(QStringLiteral(KELVO_SOURCE_DIR "/docs/design-names.md"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    QSet<QString> names;
    for (const DesignName& entry : kDesignNames) {
        names.insert(QString::fromUtf8(entry.name));
        const QString row =
            QStringLiteral("| `%1` | %2 |").arg(QString::fromUtf8(entry.name), QString::fromUtf8(entry.role));
        EXPECT_TRUE(text.contains(row)) << row.toStdString();
    }
    for (const QWidget* control : form->findChildren<QWidget*>()) {
        const QString name = control->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
        EXPECT_TRUE(names.contains(name)) << name.toStdString();
    }
}

}  // namespace
}  // namespace kelvo::mainwindow
