#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStringList>

#include "ui/pipeline/compact_window.h"
#include "ui/shell/message_window.h"
#include "ui/shell/program.h"

namespace kelvo::pipeline {
namespace {

// A main window reduced to what the pipeline reads and writes, recording the writes.
class FakeHost : public PipelineHost {
public:
    ConductorChoice choice{Material::Copper, ConductorKind::Wire, LayingMethod::p1};
    bool forward = true, reverse = false;
    QStringList log;
    QString power;

    ConductorChoice Conductor() const override { return choice; }
    bool WireSelected() const override { return choice.kind == ConductorKind::Wire; }
    bool CableSelected() const override { return choice.kind == ConductorKind::Cable; }
    bool CopperSelected() const override { return choice.material == Material::Copper; }
    bool ForwardCalculation() const override { return forward; }
    bool ReverseCalculation() const override { return reverse; }
    void SelectCurrentGiven() override { log << QStringLiteral("Option2"); }
    void WriteCurrent(const QString& text) override { log << QStringLiteral("txtI=") + text; }
    QString Power() const override { return power; }
    void PressCalculate() override {
        log << QStringLiteral("Command2");
        power = QStringLiteral("6,6");
    }
    void PressReverseReset() override { log << QStringLiteral("Command4"); }
    void WriteProtection(ProtectionBox box, const QString& text) override {
        static const char* const kBoxes[] = {"Text13", "Text14", "Text15", "Text16"};
        log << QString::fromUtf8(kBoxes[static_cast<int>(box)]) + QLatin1Char('=') + text;
    }
};

class PipelineTest : public ::testing::Test {
protected:
    void TearDown() override {
        shell::ReleaseForm2();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    FakeHost host;
    CompactWindowSlot slot{host};
};

TEST_F(PipelineTest, DesignValuesOfAFreshWindow) {
    CompactWindow& w = slot.Get();
    EXPECT_EQ(w.Text1.Text(), "Text1");  // a first write of any load is a change
    EXPECT_EQ(w.Combo2.Text(), "1");
    EXPECT_FALSE(w.Timer1->Enabled());
    w.Combo2.Write(QStringLiteral("7"));
    slot.Release();
    EXPECT_FALSE(slot.Exists());
    EXPECT_EQ(slot.Get().Combo2.Text(), "1");  // created afresh
}

// The protection of the forward calculation arrives in the order of the chain.
TEST_F(PipelineTest, ForwardProtectionInOrder) {
    CompactWindow& w = slot.Get();
    w.Combo2.Write(QStringLiteral("1,25"));
    w.Text2.Write(QStringLiteral("23"));
    // Depth first: each copy is written when its cell's handler has run to the end.
    EXPECT_EQ(host.log, QStringList({"Text15=40", "Text13=30", "Text14=28,75", "Text16=30"}));
    EXPECT_EQ(w.Text7.Text(), "20,7");
    host.log.clear();
    w.Text2.Write(QStringLiteral("23"));  // the same text runs nothing
    EXPECT_TRUE(host.log.isEmpty());
    EXPECT_EQ(w.Label14.Text(), "");
}

TEST_F(PipelineTest, HandOverOnlyInTheReverseCalculation) {
    CompactWindow& w = slot.Get();
    host.choice.laying = LayingMethod::p3;
    w.PressCommand1();  // not the reverse calculation: nothing
    EXPECT_TRUE(slot.Exists());
    w.PressCommand2();
    EXPECT_FALSE(slot.Exists());
}

TEST_F(PipelineTest, ListTimerWaitsForAConductorKind) {
    CompactWindow& w = slot.Get();
    host.choice.kind.reset();
    w.Timer1->SetEnabled(true);
    w.Timer1->Tick();
    EXPECT_TRUE(w.Timer1->Enabled());
    host.choice.kind = ConductorKind::Cable;
    w.Timer1->Tick();
    EXPECT_FALSE(w.Timer1->Enabled());
}

}  // namespace
}  // namespace kelvo::pipeline
