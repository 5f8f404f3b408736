#include "ui/pipeline/compact_window.h"

#include "core/cross_section_list.h"
#include "core/laying_conditions.h"
#include "core/maximum_current.h"
#include "core/number_text.h"
#include "core/protection.h"
#include "core/result_codes.h"
#include "ui/shell/message_window.h"
#include "ui/shell/qtext.h"

namespace kelvo::pipeline {

using shell::Q;
using shell::S;

CompactWindow::CompactWindow(PipelineHost& host, QObject* owner)
    : QObject(owner), Timer1(new shell::Timer(this, QStringLiteral("Timer1"), 100)), host_(host) {
    setObjectName(QStringLiteral("frmS"));
    Combo2.Write(Q(kDefaultMultiplicity));

    Text1.OnChange([this] { OnText1Change(); });
    Text2.OnChange([this] { OnText2Change(); });
    Text4.OnChange([this] { OnText4Change(); });
    Text3.OnChange([this] { OnText3Change(); });
    Text5.OnChange([this] { OnText5Change(); });
    Text7.OnChange([this] { OnText7Change(); });
    Text6.OnChange([this] { OnText6Change(); });
    Timer1->OnTick([this] { OnTimer1Tick(); });
}

// Step 1: the maximum current for the cross-section. The hand-over follows the protection
// steps once for every cross-section that has a maximum current, whether or not the residual
// operating current changed (830 A for 400 mm² has none, and must still be handed over).
void CompactWindow::OnText1Change() {
    Text2.Write(Q(CorrectedMaximumCurrentBySection(S(Text1.Text()), host_.Conductor(), host_.CorrectionFactor())));
    if (!released_ && ReadNumber(S(Text2.Text()))) PressCommand1();
}

// Step 2: a current starts the protection selection. "нет" has no current: the message and a
// reset. Any other text that is not a number (a current being typed) is the absence of a
// current, as the empty text is.
void CompactWindow::OnText2Change() {
    Label14.Write(Combo1.Text());
    if (Text2.Text().isEmpty()) return;
    if (Text2.Text() == Q(kAboveTable)) {
        shell::ShowMessage(kNoCurrentMessage, shell::MainWindowWhileShown::Hidden);
        host_.PressReverseReset();
        return;
    }
    if (!ReadNumber(S(Text2.Text()))) return;
    const auto at_multiplicity = CurrentAtMultiplicity(S(Combo2.Text()), S(Text2.Text()));
    if (!at_multiplicity) return;
    Text4.Write(Q(*at_multiplicity));
    if (const auto reference = RcdReferenceCurrent(S(Text2.Text()))) Text7.Write(Q(*reference));
}

// Step 3: the breaker for the current at multiplicity.
void CompactWindow::OnText4Change() {
    Text3.Write(Q(SelectBreakerRating(S(Text4.Text()))));
    if (const auto again = CurrentAtMultiplicity(S(Combo2.Text()), S(Text2.Text()))) Text4.Write(Q(*again));
    if (host_.ForwardCalculation()) host_.WriteProtection(ProtectionBox::CurrentAtMultiplicity, Text4.Text());
}

// Step 4: the device rated current for the breaker.
void CompactWindow::OnText3Change() {
    Text5.Write(Q(SelectRcdRatedCurrent(S(Text3.Text()))));
    if (host_.ForwardCalculation()) host_.WriteProtection(ProtectionBox::BreakerRating, Text3.Text());
}

// Step 5.
void CompactWindow::OnText5Change() {
    if (host_.ForwardCalculation()) host_.WriteProtection(ProtectionBox::RcdRatedCurrent, Text5.Text());
}

// Step 6: the residual operating current for the reference current.
void CompactWindow::OnText7Change() { Text6.Write(Q(SelectRcdTripCurrent(S(Text7.Text())))); }

// Step 7.
void CompactWindow::OnText6Change() {
    if (host_.ForwardCalculation()) host_.WriteProtection(ProtectionBox::RcdTripCurrent, Text6.Text());
}

// Step 8, the hand-over of the maximum current to the main window, which computes its power.
void CompactWindow::PressCommand1() {
    if (!host_.ReverseCalculation()) return;
    if (Check1 && Text2.Text() != Q(kAboveTable)) {
        host_.SelectCurrentGiven();
        host_.WriteCurrent(Text2.Text());
        if (Check2) Release();
        host_.PressCalculate();
        txtP.Write(host_.Power());
    } else {
        Release();
    }
}

void CompactWindow::PressCommand2() { Release(); }

std::optional<QStringList> CrossSectionsForSelection(const PipelineHost& host) {
    std::optional<ConductorKind> kind;
    if (host.WireSelected())
        kind = ConductorKind::Wire;
    else if (host.CableSelected())
        kind = ConductorKind::Cable;
    if (!kind) return std::nullopt;
    const Material material = host.CopperSelected() ? Material::Copper : Material::Aluminium;
    QStringList list;
    for (const auto entry : CrossSectionList(material, *kind)) list << Q(entry);
    return list;
}

// The list timer: once a conductor kind is selected in the main window, the cross-section
// chosen here for the previous kind is dropped; while none is, it waits.
void CompactWindow::OnTimer1Tick() {
    if (!CrossSectionsForSelection(host_)) return;
    Combo1.Write(QString());
    Timer1->SetEnabled(false);
}

void CompactWindow::Release() {
    if (released_) return;
    released_ = true;
    Timer1->SetEnabled(false);
    emit releaseRequested();
}

}  // namespace kelvo::pipeline

namespace kelvo::pipeline {

CompactWindowSlot::CompactWindowSlot(PipelineHost& host) : host_(host) {}

CompactWindow& CompactWindowSlot::Get() {
    if (!current_) {
        current_ = new CompactWindow(host_, &owner_);
        QObject::connect(current_, &CompactWindow::releaseRequested, current_,
                         [this, window = current_] { Drop(window); });
    }
    return *current_;
}

void CompactWindowSlot::Release() {
    if (current_) current_->PressCommand2();
}

void CompactWindowSlot::Drop(CompactWindow* window) {
    if (window != current_) return;
    current_ = nullptr;
    // Released after the event: a handler of this window may still be running.
    window->deleteLater();
}

}  // namespace kelvo::pipeline
