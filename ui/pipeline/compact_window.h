// frmS, the compact window the program never shows: its boxes are the cells of the protection
// pipeline. Writing a cross-section into Text1 runs the reverse calculation; writing a current
// into Text2 runs the protection selection; results flow back into the main window.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/conductor.h"
#include "core/messages.h"
#include "core/number_text.h"
#include "ui/shell/controls.h"
#include "ui/shell/qtext.h"

namespace kelvo::pipeline {

// The boxes of the main window's protection panel the pipeline writes.
enum class ProtectionBox {
    BreakerRating,          // Text13
    CurrentAtMultiplicity,  // Text14
    RcdRatedCurrent,        // Text15
    RcdTripCurrent,         // Text16
};

// What the pipeline reads and writes of the main window (which implements it).
class PipelineHost {
public:
    virtual ~PipelineHost() = default;
    virtual ConductorChoice Conductor() const = 0;
    virtual bool WireSelected() const = 0;               // p
    virtual bool CableSelected() const = 0;              // k
    virtual bool CopperSelected() const = 0;             // Option5
    virtual bool ForwardCalculation() const = 0;         // Check2
    virtual bool ReverseCalculation() const = 0;         // Check3
    virtual void SelectCurrentGiven() = 0;               // Option2
    virtual void WriteCurrent(const QString& text) = 0;  // txtI
    virtual QString Power() const = 0;                   // txtP
    virtual void PressCalculate() = 0;                   // Command2
    virtual void PressReverseReset() = 0;                // Command4
    virtual void WriteProtection(ProtectionBox box, const QString& text) = 0;
    // The laying conditions' factor for the maximum current; none: the tables' own conditions.
    virtual std::optional<Fixed4> CorrectionFactor() const { return std::nullopt; }
};

// The cross-section list for the conductor kind selected in the main window; nothing while
// neither kind is selected (the list timers then wait and try again).
std::optional<QStringList> CrossSectionsForSelection(const PipelineHost& host);

// A named text cell of the compact window.
using shell::TextCell;

class CompactWindow : public QObject {
    Q_OBJECT
public:
    CompactWindow(PipelineHost& host, QObject* owner);

    static inline const QString kNoCurrentMessage = shell::Q(messages::kNoCurrentForSection);

    // Cells, with their design values.
    TextCell Text1{QStringLiteral("frmS.Text1"), QStringLiteral("Text1")};  // cross-section
    TextCell Text2{QStringLiteral("frmS.Text2")};                           // maximum current, or a load current
    TextCell Text3{QStringLiteral("frmS.Text3")};                           // breaker rating
    TextCell Text4{QStringLiteral("frmS.Text4")};                           // current at multiplicity
    TextCell Text5{QStringLiteral("frmS.Text5")};                           // device rated current
    TextCell Text6{QStringLiteral("frmS.Text6")};                           // residual operating current, mA
    TextCell Text7{QStringLiteral("frmS.Text7"), QStringLiteral("Text7")};  // reference current of the device
    TextCell txtP{QStringLiteral("frmS.txtP")};                             // power handed back by the main window
    TextCell Label14{QStringLiteral("frmS.Label14"), QStringLiteral("0")};  // the cross-section of the hand-over
    TextCell Combo1{QStringLiteral("frmS.Combo1")};                         // the cross-section chosen in this window
    TextCell Combo2{QStringLiteral("frmS.Combo2")};                         // the multiplicity

    bool Check1 = true;   // hand-over enabled
    bool Check2 = false;  // "При расчете закрыть"

    shell::Timer* Timer1;

    // "Расчитать" (the hand-over) and "Закрыть".
    void PressCommand1();
    void PressCommand2();

signals:
    void releaseRequested();

private:
    void OnText1Change();
    void OnText2Change();
    void OnText4Change();
    void OnText3Change();
    void OnText5Change();
    void OnText7Change();
    void OnText6Change();
    void OnTimer1Tick();
    void Release();

    PipelineHost& host_;
    bool released_ = false;
};

// Holds the single compact window: created on first reference, created afresh (with its design
// values) on the next reference after a release.
class CompactWindowSlot {
public:
    explicit CompactWindowSlot(PipelineHost& host);
    CompactWindowSlot(const CompactWindowSlot&) = delete;
    CompactWindowSlot& operator=(const CompactWindowSlot&) = delete;

    CompactWindow& Get();
    bool Exists() const { return current_ != nullptr; }
    // Hides and releases the window.
    void Release();

private:
    void Drop(CompactWindow* window);

    PipelineHost& host_;
    QObject owner_;  // owns every window not yet deleted
    CompactWindow* current_ = nullptr;
};

}  // namespace kelvo::pipeline
