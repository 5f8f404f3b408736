// The handlers of the main window's choices: the supply, the conductor and its laying, the box
// that takes the load, the multiplicity, the two calculations, and the reverse calculation's
// click. Each writes boxes and presses buttons as the calculation flow (calculation_flow.cpp)
// expects.
#include <optional>

#include "core/choices.h"
#include "core/line_calculation.h"
#include "core/load_current.h"
#include "core/number_text.h"
#include "core/permissible_current.h"
#include "core/protection.h"
#include "core/result_codes.h"
#include "core/voltage_loss.h"
#include "ui/main/main_window.h"
#include "ui/main/texts.h"
#include "ui/shell/message_window.h"
#include "ui/shell/qtext.h"
#include "ui/shell/skin.h"

namespace kelvo::mainwindow {

using shell::MainWindowWhileShown;
using shell::Q;
using shell::S;
using shell::SetBaseColor;
using shell::SetTextColor;
using shell::ShowMessage;
namespace colors = shell::colors;

// The cross-section list of the reverse calculation, for the conductor kind just chosen.
void MainWindow::OnTimer3Tick() {
    const auto list = pipeline::CrossSectionsForSelection(*this);
    if (!list) return;
    Combo3->Clear();
    for (const QString& entry : *list) Combo3->AddItem(entry);
    Timer3->SetEnabled(false);
}

// The box that takes the load is coloured and raised, the other flat.
void MainWindow::OnOption1Click() {
    txtP->SetRelief(TextBox::Relief::Raised);
    txtI->SetRelief(TextBox::Relief::Flat);
    SetBaseColor(txtP, colors::kRaisedInput);
    SetBaseColor(txtI, palette().color(QPalette::Base));
    SetTextColor(Label5, colors::kRed);
    SetTextColor(Label7, palette().color(QPalette::ButtonText));
}

void MainWindow::OnOption2Click() {
    txtI->SetRelief(TextBox::Relief::Raised);
    txtP->SetRelief(TextBox::Relief::Flat);
    SetBaseColor(txtI, colors::kRaisedInput);
    SetBaseColor(txtP, palette().color(QPalette::Base));
    SetTextColor(Label7, colors::kRed);
    SetTextColor(Label5, palette().color(QPalette::ButtonText));
}

void MainWindow::OnSupplyClick(SupplyKind supply) {
    const VoltageChoice voltages = VoltagesFor(supply);
    Combo2->Clear();
    Combo2->Write(Q(voltages.shown));
    for (const std::string_view entry : voltages.list) Combo2->AddItem(Q(entry));
}

void MainWindow::OnConductorKindClick(bool wire) {
    Frame10->setVisible(wire);
    Frame6->setVisible(!wire);
    Timer3->SetEnabled(true);
    frmS().Timer1->SetEnabled(true);
}

// In the reverse calculation a new laying clears the results but keeps the chosen section.
void MainWindow::OnLayingClick() {
    if (!Check3->Value()) return;
    text_slot_ = Combo3->Text();
    const QString kept = text_slot_;
    Command4->Press();
    Combo3->Write(kept);
}

// The loss in volts and the voltage left; empty while the voltage or the loss is not a number.
void MainWindow::OnVoltageFiguresChange() {
    const auto figures = ComputeVoltageFigures(S(Combo1->Text()), S(Combo2->Text()));
    Text4->Write(figures ? Q(figures->loss_volts) : QString());
    Text3->Write(figures ? Q(figures->remaining_volts) : QString());
}

// The reverse calculation: a fresh pipeline computes the maximum current of the chosen
// section and hands it back for its power.
void MainWindow::OnCommand5Click() {
    if (const auto fault = SectionFault(S(Combo3->Text()))) {
        ShowMessage(Q(*fault), MainWindowWhileShown::Visible, true);
        return;
    }
    Command3->Press();
    ShowCorrection();
    frmS().Text1.Write(Combo3->Text());
    if (!shell::Form2Exists()) SettleLine();  // the reverse line, unless a message stopped it
}

// A new multiplicity: the pipeline runs again for the same current.
void MainWindow::OnCombo4Click() {
    frmS().Combo2.Write(Combo4->Text());
    text_slot_ = txtI->Text();
    frmS().Text2.Write(QString());
    frmS().Text2.Write(text_slot_);
    if (settled_line_) SettleLine();  // the settled line's breaker is the one just selected
}

// The two calculations are a choice: ticking one unticks the other, and a click on the ticked
// box keeps it ticked.
void MainWindow::OnCheck2Click() {
    if (!Check2->Value()) {
        if (!Check3->Value()) Check2->setChecked(true);
        return;
    }
    Frame3->show();
    Frame17->hide();
    Check3->SetValue(false);
    Frame2->show();
    Frame18->hide();
    Option1->Select();
    Command3->Press();
    Frame15->hide();
    Label24->SetCaption(texts::kForwardTitle);
    Frame7->show();
}

void MainWindow::OnCheck3Click() {
    if (!Check3->Value()) {
        if (!Check2->Value()) Check3->setChecked(true);
        return;
    }
    Frame3->hide();
    Frame17->show();
    Check2->SetValue(false);
    Frame2->hide();
    Frame18->show();
    Option1->Select();
    Command3->Press();
    Frame15->hide();
    Label24->SetCaption(texts::kReverseTitle);
    Frame7->hide();
    txtL->Write(QStringLiteral("1"));
    Frame22->hide();
}

}  // namespace kelvo::mainwindow
