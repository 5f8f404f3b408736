// Shows each window and picture of the program and saves it as a PNG file into the folder
// given as the first argument.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "ui/conditions/conditions_window.h"
#include "ui/disconnection/disconnection_window.h"
#include "ui/main/main_window.h"
#include "ui/schedule/schedule_window.h"
#include "ui/shell/message_window.h"
#include "ui/shell/picture_viewer.h"
#include "ui/shell/pictures.h"

using namespace kelvo::shell;

namespace {

void Save(QWidget& widget, const QDir& folder, const QString& name) {
    QApplication::processEvents();
    widget.grab().save(folder.filePath(name + QStringLiteral(".png")));
}

void Click(QWidget* widget) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

// A small schedule calculated in the schedule window.
void SaveSchedule(QWidget& owner, const QDir& folder) {
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("щит-1.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(
        "расчет,мощность_кВт,ток_А,сечение_мм2,род_тока,напряжение_В,материал,проводник,прокладка,"
        "длина_м,потери_%,кратность\n"
        "прямой,\"2,5\",,,1ф,220,медь,провод,p1,15,4,1\n"
        "прямой,,23,,1ф,220,медь,кабель,k3,40,5,\"1,25\"\n"
        "обратный,,,16,3ф,380,алюминий,кабель,к7,,,\n"
        "прямой,,,,1ф,220,медь,кабель,k3,40,5,1\n");
    file.close();
    auto* window = new kelvo::schedulewindow::ScheduleWindow(&owner, path);
    QEventLoop wait;
    QObject::connect(window, &kelvo::schedulewindow::ScheduleWindow::finished, &wait, &QEventLoop::quit);
    window->show();
    if (!window->Finished()) wait.exec();
    Save(*window, folder, QStringLiteral("schedule"));
    delete window;
}

void SaveImage(const QImage& image, const QDir& folder, const QString& name) {
    image.save(folder.filePath(name + QStringLiteral(".png")));
}

void SavePictures(const QDir& folder) {
    using pictures::Reference;
    for (const auto picture : {Reference::Power, Reference::Breakers, Reference::WireCurrents, Reference::Help})
        SaveImage(pictures::ReferencePicture(picture), folder,
                  QStringLiteral("picture-%1").arg(static_cast<int>(picture)));
    SaveImage(pictures::Banner(), folder, QStringLiteral("banner"));
    SaveImage(pictures::OrderingPicture(), folder, QStringLiteral("ordering"));
    SaveImage(pictures::Globe(), folder, QStringLiteral("globe"));
    SaveImage(pictures::TitlePicture(pictures::kMainWindowTitle), folder, QStringLiteral("title"));
}

template <typename Window>
Window* OpenWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<Window*>(window)) return found;
    return nullptr;
}

void Calculate(kelvo::mainwindow::MainWindow& form1) {
    form1.Command2->Press();
    form1.Timer1->Tick();
}

// The check of disconnection for the line of 50 m.
void SaveDisconnection(kelvo::mainwindow::MainWindow& form1, const QDir& folder) {
    form1.txtL->Write(QStringLiteral("50"));
    Calculate(form1);
    form1.Check7->SetValue(true);
    if (auto* check = OpenWindow<kelvo::disconnection::DisconnectionWindow>()) {
        check->UpstreamImpedance()->setText(QStringLiteral("0,3"));
        Save(*check, folder, QStringLiteral("disconnection"));
        delete check;
    }
}

// The laying conditions: +40 °C in air for the line of 50 m.
void SaveConditions(kelvo::mainwindow::MainWindow& form1, const QDir& folder) {
    form1.Check2->SetValue(true);
    form1.Check8->SetValue(true);
    if (auto* conditions = OpenWindow<kelvo::conditions::ConditionsWindow>()) {
        conditions->Ambient()->setText(QStringLiteral("40"));
        form1.txtP->Write(QStringLiteral("5"));
        Calculate(form1);
        Save(*conditions, folder, QStringLiteral("conditions"));
        Save(form1, folder, QStringLiteral("form1-conditions"));
        delete conditions;
    }
}

void SaveMainWindow(const QDir& folder) {
    kelvo::mainwindow::MainWindow form1;
    form1.show();
    Save(form1, folder, QStringLiteral("form1-start"));
    form1.txtP->Write(QStringLiteral("2,5"));
    Calculate(form1);
    Save(form1, folder, QStringLiteral("form1-calculated"));
    Click(form1.Label22);
    Save(form1, folder, QStringLiteral("form1-menu-calculations"));
    SaveDisconnection(form1, folder);
    Click(form1.Label44);
    Save(form1, folder, QStringLiteral("form1-menu-tables"));
    form1.Check3->SetValue(true);
    form1.Combo3->Write(QStringLiteral("2,5"));
    form1.Command5->Press();
    Save(form1, folder, QStringLiteral("form1-reverse"));
    SaveSchedule(form1, folder);
    SaveConditions(form1, folder);
}

void SaveMessageAndViewer(const QDir& folder) {
    using pictures::Reference;
    ShowMessage(QStringLiteral("десятичные вводятся через запятую, пример 2,5 или не "
                               "установлена мощность / ток"),
                MainWindowWhileShown::Visible);
    Save(Form2(), folder, QStringLiteral("form2-message"));
    ReleaseForm2();

    OpenPicture(TableRequest(Reference::Power));
    Save(Form3(), folder, QStringLiteral("form3-table-101"));
    OpenPicture(TableRequest(Reference::Breakers));
    Save(Form3(), folder, QStringLiteral("form3-table-102"));
    OpenPicture(TableRequest(Reference::WireCurrents));
    Save(Form3(), folder, QStringLiteral("form3-table-103"));
    OpenPicture(HelpRequest());
    Save(Form3(), folder, QStringLiteral("form3-help"));
    OpenPicture(TableRequest(Reference::WireCurrents));
    Save(Form3(), folder, QStringLiteral("form3-table-103-after-help"));
    ReleaseForm3();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    QDir().mkpath(folder.path());
    SavePictures(folder);
    SaveMainWindow(folder);
    SaveMessageAndViewer(folder);
    return 0;
}
