// The calculation flow of the main window: the handlers that a press of "Рассчитать", a choice
// of an option or a timer runs, each writing boxes and pressing buttons as the design says, so
// that the order of the effects is the order of the code.
//
// The route of one forward click (2,5 kW typed, defaults otherwise), handler by handler, each
// nested in the one before it unless it follows a step back:
//   Command2.Click        current and power of the load
//     txtI.Change         section by current into Text2, the current to the pipeline
//       Text2.Change        exceed marker? alternative size beside it
//       frmS.Text2.Change   current at multiplicity, device reference current
//         frmS.Text4.Change   breaker rating             -> Text14
//           frmS.Text3.Change   device rated current     -> Text13
//             frmS.Text5.Change                          -> Text15
//         frmS.Text7.Change   trip current
//           frmS.Text6.Change                            -> Text16
//     Text6.Change        required section by voltage loss, selected into Text1
//       Text1.Change        exceed marker? alternative size; arms Timer1
//   Timer1.Timer          (500 ms later) the recommendation into Label4
//     Text1.Change        on a tie, the section by current stands in Text1 too
//
// The route of one reverse click (section 2,5 chosen): the reset, the pipeline from the
// section, and the hand-over back to a forward click for the power.
//   Command5.Click
//     Command3.Click      every result back to its start, the pipeline released
//     frmS.Text1.Change   maximum current of the section
//       frmS.Text2.Change   protection: Text4, Text3, Text5, Text7, Text6 as above
//       (hand-over)         Option2.Click, txtI.Change (Text2.Change), Command2.Click,
//                           which writes the current again (txtI.Change twice, each with
//                           Text2.Change and frmS.Text2.Change), txtP.Change (the reverse
//                           panel's copies), Text6.Change, Text1.Change
#include <optional>

#include "core/laying_conditions.h"
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

namespace {

// A failure inside "Рассчитать": a text that is not a number where one is needed (the user is
// told how to write numbers), or a result that cannot be computed.
struct TypeMismatch {};
struct SilentFailure {};

double NumberOf(const QString& text) {
    const auto value = ReadNumber(S(text));
    if (!value) throw TypeMismatch{};
    return *value;
}

}  // namespace

template <class Box>
void MainWindow::RunAgain(Box* box) {
    text_slot_ = box->Text();
    box->Write(QString());
    box->Write(text_slot_);
}

// The texts "Рассчитать" reads, each once, at the start of the click.
struct MainWindow::ClickTexts {
    QString f, n, current, power, voltage, extra, length, loss;
};

// "Рассчитать": load current and power, then the section by voltage loss. A text that is not a
// number where one is needed tells the user how numbers are written; figures out of their range
// and a result that cannot be computed are told as kelvo-calc tells them. Every message hides
// the window, and its "ОК" empties the results, so no figure of an earlier load stays.
void MainWindow::OnCommand2Click() {
    // The power the exceed message names while this click runs: the load's own, also when it is
    // given as a current and the power box still shows the previous load's.
    struct ExceedPowerScope {
        QString& power;
        ~ExceedPowerScope() { power.clear(); }
    } exceed_power_scope{exceed_power_};
    Label4->SetCaption(QString());  // the recommendation of the previous load
    ForgetLine();                   // nor its check
    const bool laying_shown = Frame10->isVisibleTo(this) || Frame6->isVisibleTo(this);
    try {
        std::optional<ClickTexts> texts;  // nothing is read without a conductor kind
        double formula_power = 0;         // the power of the voltage-loss formula
        if (!laying_shown) {
            ShowMessage(texts::kChooseConductorKind, MainWindowWhileShown::Hidden);
        } else {
            texts = ClickTexts{txtF->Text(),   txtN->Text(),  txtI->Text(), txtP->Text(),
                               Combo2->Text(), Text8->Text(), txtL->Text(), Combo1->Text()};
            const QString& load = Option1->Value() ? texts->power : texts->current;
            if (const auto fault = FiguresFault(S(load), S(texts->voltage), S(texts->length), S(texts->loss))) {
                ShowMessage(Q(*fault), MainWindowWhileShown::Hidden);
                return;
            }
            formula_power = WriteLoad(*texts);
        }
        WriteRequiredSection(texts, formula_power);
        if (Check2->Value()) Frame22->show();
    } catch (const TypeMismatch&) {
        ShowMessage(texts::kDecimalComma, MainWindowWhileShown::Hidden);
    } catch (const SilentFailure&) {
        // Without a conductor kind nothing was read to calculate with, and the message already
        // shown says what is missing.
        if (laying_shown) ShowMessage(Q(messages::kCannotCalculate), MainWindowWhileShown::Hidden);
    }
}

// The load's current into txtI and its power into txtP, each rounded to two decimals; returns
// the power of the voltage-loss formula: as typed, or as computed (not rounded). The current
// box's change handler runs once more on its own text before the new current is written.
double MainWindow::WriteLoad(const ClickTexts& t) {
    // The current and the power start as the boxes' texts; a computed value replaces one.
    std::optional<double> computed_current, computed_power;
    if (Option1->Value()) {
        if (!t.power.isEmpty()) {
            const std::optional<SupplyKind> supply = Supply();
            if (!supply) {
                ShowMessage(texts::kNoPowerSupply, MainWindowWhileShown::Hidden);
            } else {
                const double p_kw = NumberOf(t.power), u = NumberOf(t.voltage);
                const LoadCoefficients c = *supply == SupplyKind::DC
                                               ? LoadCoefficients{}
                                               : LoadCoefficients{NumberOf(t.f), NumberOf(t.n), NumberOf(t.extra)};
                computed_current = CurrentFromPower(p_kw, u, c, *supply);
                if (!computed_current) throw SilentFailure{};
            }
        }
        RunAgain(txtI);
    }
    if (Option2->Value()) {
        if (!t.current.isEmpty()) {
            const LoadCoefficients c{NumberOf(t.f), NumberOf(t.n), NumberOf(t.extra)};
            computed_power = PowerFromCurrent(NumberOf(t.current), NumberOf(t.voltage), c,
                                              Supply().value_or(SupplyKind::SinglePhase));
            if (!computed_power) throw SilentFailure{};
            exceed_power_ = Q(WriteNumber(RoundHalfEven2(*computed_power)));
        } else {
            ShowMessage(texts::kNoCurrent, MainWindowWhileShown::Hidden);
        }
        RunAgain(txtI);
    }
    const double i_value = computed_current ? *computed_current : NumberOf(t.current);
    txtI->Write(Q(WriteNumber(RoundHalfEven2(i_value))));
    const double p_value = computed_power ? *computed_power : NumberOf(t.power);
    txtP->Write(Q(WriteNumber(RoundHalfEven2(p_value))));
    return computed_power ? *computed_power : p_value;
}

// The required section by voltage loss into Text6, whose change selects the section; "0" without
// a length. A text never read (no conductor kind chosen) counts as zero.
void MainWindow::WriteRequiredSection(const std::optional<ClickTexts>& t, double formula_power) {
    std::optional<double> section;
    if (txtL->Text().isEmpty()) {
        ShowMessage(texts::kNoLength, MainWindowWhileShown::Hidden);
    } else {
        const auto read = [&](const QString ClickTexts::*text) { return t ? NumberOf((*t).*text) : 0.0; };
        const SupplyKind supply = Supply().value_or(SupplyKind::SinglePhase);
        const Material material = Option5->Value() ? Material::Copper : Material::Aluminium;
        section = RequiredSection(
            {formula_power, read(&ClickTexts::length), read(&ClickTexts::loss), read(&ClickTexts::voltage)}, supply,
            material);
        if (!section) throw SilentFailure{};
    }
    // Both boxes start empty, so that the selection by voltage loss and its post-processing
    // run on every press, also when only the laying or the conductor changed.
    Text6->Write(QString());
    Text1->Write(QString());
    Text6->Write(section ? Q(WriteNumber(RoundHalfEven2(*section))) : QStringLiteral("0"));
}

// "Сброс": every result and the pipeline back to their start.
void MainWindow::OnCommand3Click() {
    txtP->Write(QString());
    txtI->Write(QString());
    Text2->Write(QString());
    Text1->Write(QString());
    Text6->Write(QString());
    Label4->SetCaption(QString());
    Label20->SetCaption(QString());
    Label21->SetCaption(QString());
    if (Check3->Value())
        RunAgain(Combo3);
    else
        Combo3->Write(QString());
    Text7->Write(QString());
    frms_.Release();
    Text9->Write(QString());
    Text10->Write(QString());
    Text11->Write(QString());
    // The protection of an earlier load must not stay beside a new one, and the fresh pipeline
    // starts at multiplicity 1.
    for (TextBox* box : {Text13, Text14, Text15, Text16}) box->Write(QString());
    Combo4->Write(Q(kDefaultMultiplicity));
    Frame22->hide();
    ForgetLine();
}

// The current box: the section by permissible current, then the protection pipeline.
void MainWindow::OnTxtIChange() {
    ShowCorrection();
    Text2->Write(Q(SelectSectionByCorrectedCurrent(S(txtI->Text()), Conductor(), CorrectionFactor())));
    frmS().Text2.Write(txtI->Text());
}

// The power box refreshes the reverse panel.
void MainWindow::OnTxtPChange() {
    Text5->Write(txtP->Text());
    Text7->Write(txtI->Text());
    Text9->Write(frmS().Text3.Text());
    Text10->Write(frmS().Text5.Text());
    Text11->Write(frmS().Text6.Text());
}

void MainWindow::OnTxtLChange() { Text6->Write(QString()); }

namespace {

// The alternative standard section beside a result: the tables know sections (1,2; 2; 3; 5; 8)
// that are not made; the next made size is named.
QString Alternative(const QString& section) {
    if (section == QStringLiteral("1,2")) return QStringLiteral("или 1,5 мм.кв");
    if (section == QStringLiteral("2")) return QStringLiteral("или 2,5 мм.кв");
    if (section == QStringLiteral("3")) return QStringLiteral("или 4 мм.кв");
    if (section == QStringLiteral("5")) return QStringLiteral("или 6 мм.кв");
    if (section == QStringLiteral("8")) return QStringLiteral("или 10 мм.кв");
    return {};
}

}  // namespace

// The exceed marker is drawn red; any other section in the normal colour.
void MainWindow::MarkExceed(TextBox* box) {
    SetTextColor(box, box->Text() == Q(kExceedMarker) ? colors::kRed : palette().color(QPalette::Text));
}

void MainWindow::OnText1Change() {
    Timer1->SetEnabled(true);
    MarkExceed(Text1);
    if (Text1->Text() == Q(kExceedMarker)) {
        ShowMessage(texts::kExceedByLoss, MainWindowWhileShown::Hidden);
        return;
    }
    Label20->SetCaption(Alternative(Text1->Text()));
}

void MainWindow::OnText2Change() {
    MarkExceed(Text2);
    if (Text2->Text() == Q(kExceedMarker)) {
        ShowMessage(texts::ExceedByPower(exceed_power_.isEmpty() ? PowerOfTheLoad() : exceed_power_),
                    MainWindowWhileShown::Hidden);
        return;
    }
    Label21->SetCaption(Alternative(Text2->Text()));
}

// The power of the load in the current box, for a message that names it while a current is
// typed (outside "Рассчитать", the power box still shows an earlier load's, or nothing); the
// power box's text when the load is given as a power or cannot be computed.
QString MainWindow::PowerOfTheLoad() const {
    if (!Option2->Value()) return txtP->Text();
    const auto current = ReadNumber(S(txtI->Text())), voltage = ReadNumber(S(Combo2->Text()));
    const auto f = ReadNumber(S(txtF->Text())), n = ReadNumber(S(txtN->Text())), extra = ReadNumber(S(Text8->Text()));
    if (!current || !voltage || !f || !n || !extra) return txtP->Text();
    const auto power =
        PowerFromCurrent(*current, *voltage, {*f, *n, *extra}, Supply().value_or(SupplyKind::SinglePhase));
    return power ? Q(WriteNumber(RoundHalfEven2(*power))) : txtP->Text();
}

// The required section rounded up to a standard one. An empty box (after a change of the
// length) selects nothing and leaves the last section shown until the next calculation; a
// required section above every table is told.
void MainWindow::OnText6Change() {
    if (!ReadNumber(S(Text6->Text()))) return;
    const std::string required = S(Text6->Text());
    const std::string section = SelectSectionByVoltageLoss(required, Conductor());
    Text1->Write(Q(section));
    if (AboveEveryTable(required, section, Conductor()))
        ShowMessage(Q(messages::kLossSectionBeyondTables), MainWindowWhileShown::Hidden);
}

// The recommendation, once the cascades of a calculation have settled.
void MainWindow::OnTimer1Tick() {
    if (!Text1->Text().isEmpty()) {
        const QString by_current = Text2->Text(), by_loss = Text1->Text();
        const auto recommendation = Recommend(S(by_current), S(by_loss));
        if (!recommendation) {
            SettleLine();  // the check says it has no section, until the message's "ОК" empties it
            ShowMessage(texts::kTooLarge, MainWindowWhileShown::Hidden);
            Timer1->SetEnabled(false);
            return;
        }
        const bool by_voltage_loss = recommendation->basis == Basis::VoltageLoss;
        Label4->SetCaption(texts::Recommendation(by_voltage_loss, by_voltage_loss ? by_loss : by_current));
        if (!by_voltage_loss) Text1->Write(by_current);
    }
    Timer1->SetEnabled(false);
    SettleLine();  // the check follows the calculation just settled
}

}  // namespace kelvo::mainwindow
