// Form1, the main window: the source data, the forward calculation (load → cross-sections and
// recommendation), the reverse calculation (cross-section → maximum current and power) and
// the protection panel. State lives in the texts of the controls; handlers are named after
// their controls and call the rules of the core.
#pragma once

#include <QPointer>

#include <array>
#include <QSet>
#include <memory>
#include <optional>

#include "ui/pipeline/compact_window.h"
#include "ui/shell/controls.h"
#include "ui/shell/program.h"
#include "ui/shell/skinned_window.h"
#include "ui/conditions/conditions_window.h"
#include "ui/disconnection/disconnection_window.h"

class QFrame;

namespace kelvo::mainwindow {

using shell::CheckBox;
using shell::ComboBox;
using shell::CommandButton;
using shell::Frame;
using shell::Label;
using shell::OptionButton;
using shell::PictureBox;
using shell::TextBox;
using shell::Timer;

class MainWindow : public shell::SkinnedWindow, public shell::MainWindowLink, public pipeline::PipelineHost {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    // The compact window of the protection pipeline, created on first reference.
    pipeline::CompactWindow& frmS() { return frms_.Get(); }

    // The program's own one-text slot, which keeps a box's text through a reset or makes its
    // change handler run again. The system clipboard is never touched.
    const QString& TextSlot() const { return text_slot_; }

    // Banner, menu bar and its drop-down panels.
    PictureBox* Image2;
    QFrame* Frame14;
    Label *Label43, *Label22, *Label44, *Label45, *Label46;
    Frame* Frame15;
    CheckBox *Check2, *Check3, *Check7, *Check8;
    Frame* Frame21;
    CheckBox *Check4, *Check5, *Check6;
    Label* Label24;

    // Source data.
    Frame* Frame5;
    Frame *Frame3, *Frame17, *Frame1, *Frame4, *Frame9, *Frame7, *Frame10, *Frame6;
    OptionButton *Option1, *Option2;
    Label *Label30, *Label29;
    ComboBox* Combo3;
    OptionButton *Option3, *Option4, *Option17;
    ComboBox* Combo2;
    Label* Label33;
    OptionButton *p, *k;
    OptionButton *Option5, *Option6;
    TextBox* txtL;
    Label* Label10;
    ComboBox* Combo1;
    Label* Label14;
    TextBox* Text4;
    Label* Label18;
    std::array<OptionButton*, 6> wire_laying{};   // p1..p6
    std::array<OptionButton*, 9> cable_laying{};  // k1..k7, Option16, Option18
    OptionButton *p1, *p2, *p3, *p4, *p5, *p6;
    OptionButton *k1, *k2, *k3, *k4, *k5, *k6, *k7, *Option16, *Option18;
    Label *Label11, *Label12, *Label13;
    Label* Label2;

    // First calculation.
    Frame* Frame2;
    Label *Label7, *Label5;
    TextBox *txtP, *txtI;
    CommandButton *Command2, *Command3;
    Frame *Frame16, *Frame11, *Frame13;
    Label *Label6, *Label1, *Label8, *Label9;
    TextBox *Text2, *Text1;
    Label *Label21, *Label20, *Label4;
    Frame* Frame12;
    TextBox *txtF, *txtN, *Text8;
    TextBox *Text6, *Text3;  // never shown

    // Second calculation.
    Frame *Frame18, *Frame19, *Frame20;
    TextBox *Text5, *Text7, *Text9, *Text10, *Text11;
    CommandButton *Command5, *Command4;

    // Information and protection.
    Frame* Frame8;
    PictureBox *Image3, *Image4;
    Label* Label19;
    Frame* Frame22;
    Label *Label53, *Label51;
    ComboBox* Combo4;
    TextBox *Text14, *Text13, *Text15, *Text16;
    CommandButton* Command7;

    CheckBox* Check1;
    Label* Label17;

    Timer *Timer1, *Timer3;

    // MainWindowLink
    void ShowMainWindow() override;
    void HideMainWindow() override;
    void ClearAfterMessage() override;
    QRect MainWindowGeometry() const override { return frameGeometry(); }

    // Opens a cable schedule file (CSV, XLSX or ODS) in a schedule window of its own.
    void OpenSchedule(const QString& path);

    // The supply chosen, nothing while no option of "род тока" is.
    std::optional<SupplyKind> Supply() const;

    // PipelineHost
    ConductorChoice Conductor() const override;
    bool WireSelected() const override { return p->Value(); }
    bool CableSelected() const override { return k->Value(); }
    bool CopperSelected() const override { return Option5->Value(); }
    bool ForwardCalculation() const override { return Check2->Value(); }
    bool ReverseCalculation() const override { return Check3->Value(); }
    void SelectCurrentGiven() override { Option2->Select(); }
    void WriteCurrent(const QString& text) override { txtI->Write(text); }
    QString Power() const override { return txtP->Text(); }
    void PressCalculate() override { Command2->Press(); }
    void PressReverseReset() override { Command4->Press(); }
    void WriteProtection(pipeline::ProtectionBox box, const QString& text) override;

protected:
    void OnClosePressed() override;
    // A schedule file dropped on the window opens in a schedule window.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Making the controls and putting them in their places (layout.cpp).
    void BuildControls();
    void PlaceControls();
    void BuildMenus();
    void BuildSourceData();
    void BuildLayingPanels();
    // Moves a control up the least that shows it whole above the window's bottom border.
    void KeepInsideTheBorder(QWidget* control);
    void BuildFirstCalculation();
    void BuildSecondCalculation();
    void BuildInformationAndProtection();
    void Wire();
    void WireMenus();
    void WireKeyboard();
    void Load();

    // Menus, hint line, reference pictures and links.
    void OnLabel22Click();
    void OnLabel44Click();
    void OnLabel45Click();
    void OnLabel46Click();
    void OnReferenceTableClick(CheckBox* box);
    void OnPointerOver(const QString& control);
    void CloseMenus(bool keep_link_borders);
    void WatchOpenPanel();
    void ClosePanelOnLeave(QEvent* event);

    // Handlers, named after their controls, and the steps of "Рассчитать".
    struct ClickTexts;
    void OnCommand2Click();
    double WriteLoad(const ClickTexts& texts);
    void WriteRequiredSection(const std::optional<ClickTexts>& texts, double formula_power);
    void OnCommand3Click();
    void OnTxtIChange();
    void OnTxtPChange();
    void OnTxtLChange();
    void OnText1Change();
    void OnText2Change();
    void OnText6Change();
    void OnTimer1Tick();
    void OnTimer3Tick();
    void OnOption1Click();
    void OnOption2Click();
    void OnSupplyClick(SupplyKind supply);
    void OnConductorKindClick(bool wire);
    void OnLayingClick();
    void OnVoltageFiguresChange();
    void OnCommand5Click();
    void OnCombo4Click();
    void OnCheck2Click();
    void OnCheck3Click();

    // The run-again sequence: the box's change handler runs on its own text once more.
    template <class Box>
    void RunAgain(Box* box);

    void MarkExceed(TextBox* box);

    QSet<QObject*> hover_controls_;
    bool watching_panel_ = false;  // a menu panel is open: the program's pointer and keys are watched
    QString exceed_power_;         // see OnCommand2Click
    // The disconnection check's window, while it is open; it follows the last calculation.
    QPointer<disconnection::DisconnectionWindow> disconnection_;
    QPointer<conditions::ConditionsWindow> conditions_;
    std::optional<disconnection::LineSource> LastCalculation() const;
    bool MayEndWithSchedules();
    QString SettledFigures() const;
    void SettleLine();
    void ForgetLine();
    std::optional<disconnection::LineSource> settled_line_;  // the last calculation that settled
    QString settled_figures_;
    void OnCheck7Click();
    void OnCheck8Click();
    // The laying conditions' factor K, while the conditions window gives one other than the
    // tables' own conditions; the caption of the section by current says so.
    std::optional<Fixed4> CorrectionFactor() const override;
    void OnConditionsChanged();
    void ShowCorrection();
    QString Recommended() const;
    QString PowerOfTheLoad() const;
    pipeline::CompactWindowSlot frms_;
    QString text_slot_;
};

}  // namespace kelvo::mainwindow
