#include "ui/main/main_window.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QShortcut>

#include "core/line_calculation.h"
#include "ui/main/design_names.h"
#include "ui/main/texts.h"
#include "ui/schedule/schedule_window.h"
#include "ui/shell/stacking.h"
#include "ui/shell/file_dialog.h"
#include "ui/shell/maker.h"
#include "ui/shell/pictures.h"
#include "ui/shell/qtext.h"
#include "ui/shell/skin.h"
#include "ui/shell/window_ops.h"

namespace kelvo::mainwindow {

using shell::Q;
namespace colors = shell::colors;

MainWindow::MainWindow()
    : shell::SkinnedWindow(shell::maker::kCaption, shell::pictures::kMainWindowTitle, 40), frms_(*this) {
    setObjectName(QStringLiteral("Form1"));
    shell::SetBackground(this, colors::kBackground);
    BuildControls();
    // The menu labels and the links share one pointer, drawn once.
    const QCursor link_pointer = shell::pictures::LinkPointer();
    for (QWidget* link : std::initializer_list<QWidget*>{Label22, Label44, Label45, Label46, Image3, Image4, Label19})
        link->setCursor(link_pointer);

    // A cable schedule: Ctrl+O, or a file dropped on the window.
    setAcceptDrops(true);
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this, [this] {
        const QString path =
            shell::AskFileToOpen(this, QStringLiteral("Открыть кабельный журнал"), schedulewindow::ScheduleFilter());
        if (!path.isEmpty()) OpenSchedule(path);
    });

    StackFrame();
    ResizeTwips(11640, 8895);
    KeepInsideTheBorder(Label17);
    Wire();
    shell::SetMainWindowLink(this);
    shell::SetEndQuestion([this] { return MayEndWithSchedules(); });
    Load();
}

MainWindow::~MainWindow() {
    if (watching_panel_) qApp->removeEventFilter(this);
    if (shell::GetMainWindowLink() == this) {
        shell::SetMainWindowLink(nullptr);
        shell::SetEndQuestion({});
    }
}

void MainWindow::Wire() {
    Command2->OnClick([this] { OnCommand2Click(); });
    Command3->OnClick([this] { OnCommand3Click(); });
    Command4->OnClick([this] { Command3->Press(); });
    Command5->OnClick([this] { OnCommand5Click(); });
    Command7->OnClick([this] { Frame22->hide(); });
    txtI->OnChange([this] { OnTxtIChange(); });
    txtP->OnChange([this] { OnTxtPChange(); });
    txtL->OnChange([this] { OnTxtLChange(); });
    Text1->OnChange([this] { OnText1Change(); });
    Text2->OnChange([this] { OnText2Change(); });
    Text6->OnChange([this] { OnText6Change(); });
    Timer1->OnTick([this] { OnTimer1Tick(); });
    Timer3->OnTick([this] { OnTimer3Tick(); });
    Option1->OnClick([this] { OnOption1Click(); });
    Option2->OnClick([this] { OnOption2Click(); });
    Option17->OnClick([this] { OnSupplyClick(SupplyKind::DC); });
    Option3->OnClick([this] { OnSupplyClick(SupplyKind::SinglePhase); });
    Option4->OnClick([this] { OnSupplyClick(SupplyKind::ThreePhase); });
    p->OnClick([this] { OnConductorKindClick(true); });
    k->OnClick([this] { OnConductorKindClick(false); });
    for (OptionButton* laying : wire_laying) laying->OnClick([this] { OnLayingClick(); });
    for (OptionButton* laying : cable_laying) laying->OnClick([this] { OnLayingClick(); });
    Combo1->OnChange([this] { OnVoltageFiguresChange(); });
    Combo2->OnChange([this] { OnVoltageFiguresChange(); });
    Combo4->OnClick([this] { OnCombo4Click(); });
    Check2->OnClick([this] { OnCheck2Click(); });
    Check3->OnClick([this] { OnCheck3Click(); });
    Check7->OnClick([this] { OnCheck7Click(); });
    Check8->OnClick([this] { OnCheck8Click(); });
    // The program's other windows are kept above the main window: they follow its stacking.
    Check1->OnClick([this] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != this && !window->isVisible()) continue;
            shell::SetAlwaysOnTop(window, Check1->Value());
            if (window != this) shell::KeepAboveOwner(window, Check1->Value() ? this : nullptr);
        }
    });
    WireMenus();
    WireKeyboard();
}

// Enter in a load or length box calculates, as "Рассчитать" of the calculation shown does;
// every input and result box has a name a screen reader can read.
void MainWindow::WireKeyboard() {
    for (TextBox* box : {txtP, txtI, txtL})
        connect(box, &QLineEdit::returnPressed, this, [this] {
            if (Frame2->isVisibleTo(this)) Command2->Press();
        });
    connect(Combo3->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (Frame18->isVisibleTo(this)) Command5->Press();
    });

    for (const DesignName& entry : kDesignNames) {
        if (!entry.spoken) continue;
        if (auto* control = findChild<QWidget*>(QLatin1String(entry.name)))
            control->setAccessibleName(QString::fromUtf8(entry.spoken));
    }

    // Tab goes through the source data left to right, then the calculation shown.
    const QList<QWidget*> order = {Option1,  Option2,  Combo3,   Option3,  Option4, Option17, Combo2,   p,
                                   k,        Option5,  Option6,  txtL,     Combo1,  p1,       p2,       p3,
                                   p4,       p5,       p6,       k1,       k2,      k3,       k4,       k5,
                                   k6,       k7,       Option16, Option18, txtP,    txtI,     Command2, Command3,
                                   Command5, Command4, Combo4,   Command7, Check1};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    for (QWidget* result : std::initializer_list<QWidget*>{Text1, Text2, Text4, Text5, Text7, Text9, Text10, Text11,
                                                           Text13, Text14, Text15, Text16})
        result->setFocusPolicy(Qt::ClickFocus);
}

// Start-up, in the design's order: the frame, the skin, then the defaults selected by code so
// that their click handlers set up the lists, the panels and the list timers.
void MainWindow::Load() {
    ApplyFrame();
    Frame12->hide();
    Timer1->SetEnabled(false);
    Text3->hide();

    for (QWidget* widget : std::initializer_list<QWidget*>{
             Frame1,  Frame2,  Frame3,  Frame4,   Frame5,   Frame6,   Frame7,   Frame8,  Frame9,
             Frame10, Frame11, Frame12, Frame13,  Frame16,  Frame17,  Frame18,  Frame19, Frame20,
             Frame22, Label2,  Check1,  Command2, Command3, Command4, Command5, Command7})
        shell::SetBackground(widget, colors::kBackground);
    for (QWidget* widget : std::initializer_list<QWidget*>{Frame14, Label22, Label44})
        shell::SetBackground(widget, colors::kMenuBar);
    shell::SetBackground(Label43, colors::kMenuStripe);
    shell::SetBackground(Frame15, colors::kPanelOpened);
    shell::SetBackground(Frame21, colors::kPanelOpened);

    Option1->Select();
    Option3->Select();
    p->Select();
    Option5->Select();
    p1->Select();
    k1->Select();

    Text6->hide();
    Frame15->hide();
    Frame21->hide();
    Check2->SetValue(true);
    shell::MoveTwips(Frame21, 1080, 2240);
    Frame22->hide();
    Frame21->raise();
    Frame15->raise();
}

void MainWindow::OnClosePressed() {
    if (!shell::EndProgramAsked(this) && isHidden()) show();
}

// Before the user's close ends the program: a schedule's result not saved is not lost unasked.
bool MainWindow::MayEndWithSchedules() {
    for (auto* schedule : findChildren<schedulewindow::ScheduleWindow*>()) {
        if (!schedule->HoldsUnsavedResult()) continue;
        const QString question = QStringLiteral(
                                     "Результат расчета журнала «%1» не сохранен. Закончить работу "
                                     "программы без сохранения?")
                                     .arg(schedule->FileName());
        return QMessageBox::question(schedule, QStringLiteral("kelvo"), question) == QMessageBox::Yes;
    }
    return true;
}

void MainWindow::OpenSchedule(const QString& path) {
    auto* window = new schedulewindow::ScheduleWindow(this, path);
    shell::ShowOverMainWindow(window);
}

namespace {

QStringList DroppedSchedules(const QMimeData* data) {
    QStringList paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && schedulewindow::IsScheduleFile(url.toLocalFile())) paths << url.toLocalFile();
    return paths;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedSchedules(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    for (const QString& path : DroppedSchedules(event->mimeData())) OpenSchedule(path);
    event->acceptProposedAction();
}

std::optional<SupplyKind> MainWindow::Supply() const {
    if (Option4->Value()) return SupplyKind::ThreePhase;
    if (Option3->Value()) return SupplyKind::SinglePhase;
    if (Option17->Value()) return SupplyKind::DC;
    return std::nullopt;
}

ConductorChoice MainWindow::Conductor() const {
    ConductorChoice choice;
    if (Option5->Value())
        choice.material = Material::Copper;
    else if (Option6->Value())
        choice.material = Material::Aluminium;
    if (p->Value())
        choice.kind = ConductorKind::Wire;
    else if (k->Value())
        choice.kind = ConductorKind::Cable;
    // The laying of the selected kind's panel; the other panel keeps its own choice unused.
    if (choice.kind == ConductorKind::Wire) {
        for (std::size_t i = 0; i < wire_laying.size(); ++i)
            if (wire_laying[i]->Value()) choice.laying = static_cast<LayingMethod>(i);
    } else if (choice.kind == ConductorKind::Cable) {
        for (std::size_t i = 0; i < cable_laying.size(); ++i)
            if (cable_laying[i]->Value()) choice.laying = static_cast<LayingMethod>(kWireLayingCount + i);
    }
    return choice;
}

void MainWindow::WriteProtection(pipeline::ProtectionBox box, const QString& text) {
    using pipeline::ProtectionBox;
    switch (box) {
        case ProtectionBox::BreakerRating:
            Text13->Write(text);
            break;
        case ProtectionBox::CurrentAtMultiplicity:
            Text14->Write(text);
            break;
        case ProtectionBox::RcdRatedCurrent:
            Text15->Write(text);
            break;
        case ProtectionBox::RcdTripCurrent:
            Text16->Write(text);
            break;
    }
}

void MainWindow::ShowMainWindow() { show(); }
void MainWindow::HideMainWindow() { hide(); }

// The calculations menu's third entry opens the disconnection check over the last calculation
// that settled, while the main window still shows its figures.
void MainWindow::OnCheck7Click() {
    if (!Check7->Value()) return;
    Check7->SetValue(false);
    Frame15->hide();
    if (!disconnection_) disconnection_ = new disconnection::DisconnectionWindow();
    if (settled_line_ && SettledFigures() != settled_figures_) ForgetLine();
    disconnection_->SetSource(settled_line_);
    shell::ShowOverMainWindow(disconnection_, shell::Placement::Beside);
}

// The calculations menu's fourth entry: the laying conditions, for the main window's laying.
void MainWindow::OnCheck8Click() {
    if (!Check8->Value()) return;
    Check8->SetValue(false);
    Frame15->hide();
    if (!conditions_) {
        conditions_ = new conditions::ConditionsWindow();
        connect(conditions_, &conditions::ConditionsWindow::changed, this, [this] { OnConditionsChanged(); });
    }
    conditions_->SetLine(Conductor(), Recommended());
    shell::ShowOverMainWindow(conditions_, shell::Placement::Beside);
}

std::optional<Fixed4> MainWindow::CorrectionFactor() const {
    if (!conditions_) return std::nullopt;
    const auto factor = FactorFor(Conductor(), conditions_->Typed());
    const auto* k = std::get_if<std::optional<Fixed4>>(&factor);
    return k ? *k : std::nullopt;
}

// New conditions: a calculation on screen is made again with them.
void MainWindow::OnConditionsChanged() {
    ShowCorrection();
    if (Check2->Value() && !Text2->Text().isEmpty() && !txtI->Text().isEmpty())
        Command2->Press();
    else if (Check3->Value() && !Text7->Text().isEmpty())
        Command5->Press();
    if (conditions_) conditions_->SetLine(Conductor(), Recommended());
}

// While K is not 1 the section by current's caption says so (shortened to fit its frame);
// conditions the window cannot use are said there too.
void MainWindow::ShowCorrection() {
    QString caption = QStringLiteral("по длительной нагрузке");
    if (conditions_) {
        const auto factor = FactorFor(Conductor(), conditions_->Typed());
        if (std::holds_alternative<std::string>(factor))
            caption = QStringLiteral("по длит. нагрузке, K = 1 (?)");
        else if (const auto& k = std::get<std::optional<Fixed4>>(factor); k && k->ticks() != Fixed4::kScale)
            caption = QStringLiteral("по длит. нагрузке, K = ") + shell::Q(WriteNumber(k->ToDouble()));
    }
    Frame11->SetCaption(caption);
}

// The section the main window recommends, or the empty text.
QString MainWindow::Recommended() const {
    // The recommendation points into the two texts: they live as long as it.
    const std::string by_current = shell::S(Text2->Text()), by_loss = shell::S(Text1->Text());
    const auto recommendation = Recommend(by_current, by_loss);
    return recommendation ? shell::Q(std::string(recommendation->section)) : QString();
}

// The figures a settled line was taken from, to tell whether the main window still shows them.
QString MainWindow::SettledFigures() const {
    return QStringList{Text2->Text(), Text1->Text(), Combo3->Text(), Text13->Text(), Text9->Text()}.join(QChar(0x1F));
}

// The line of the calculation on screen, as the check takes it: nothing without a supply and a
// laying; an empty section or breaker where the main window has none (the check then says so).
std::optional<disconnection::LineSource> MainWindow::LastCalculation() const {
    const std::optional<SupplyKind> supply = Supply();
    const ConductorChoice conductor = Conductor();
    const auto laying = EffectiveLaying(conductor);
    if (!supply || !laying) return std::nullopt;
    disconnection::LineSource source{*supply, *conductor.material, *conductor.kind, *laying, Combo2->Text(), {},
                                     {},      Text13->Text()};  // the breaker
    if (Check3->Value()) {
        source.section = Combo3->Text();  // the reverse calculation's section; its length is the window's
        source.breaker = Text9->Text();   // and its breaker, in the reverse panel
        source.reverse = true;
    } else {
        const std::string by_current = shell::S(Text2->Text()), by_loss = shell::S(Text1->Text());
        const auto recommendation = Recommend(by_current, by_loss);
        if (recommendation) source.section = shell::Q(std::string(recommendation->section));
        source.length = txtL->Text();
    }
    return source;
}

// A calculation has settled (forward, reverse, or a new multiplicity's breaker): its line is the
// one the check shows.
void MainWindow::SettleLine() {
    settled_line_ = LastCalculation();
    settled_figures_ = SettledFigures();
    if (disconnection_) disconnection_->SetSource(settled_line_);
    if (conditions_) conditions_->SetLine(Conductor(), Recommended());
}

// The main window's figures are emptied or about to be replaced: the check shows no line.
void MainWindow::ForgetLine() {
    settled_line_.reset();
    if (disconnection_) disconnection_->SetSource(std::nullopt);
    if (conditions_) conditions_->SetLine(Conductor(), QString());
}

void MainWindow::ClearAfterMessage() {
    Text2->Write(QString());
    Text1->Write(QString());
    txtI->Write(QString());
    txtP->Write(QString());
    Label4->SetCaption(QString());
    // The protection belongs to the load just emptied.
    for (TextBox* box : {Text13, Text14, Text15, Text16}) box->Write(QString());
    ForgetLine();
}

}  // namespace kelvo::mainwindow
