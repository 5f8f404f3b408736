// The batch calculation and the main window give the same figures for the same inputs.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <memory>
#include <random>

#include "core/line_calculation.h"
#include "core/number_text.h"
#include "ui/main/main_window.h"
#include "ui/shell/message_window.h"
#include "ui/shell/program.h"
#include "ui/shell/qtext.h"

namespace kelvo::mainwindow {
namespace {

using shell::Q;

struct Case {
    SupplyKind supply;
    std::string voltage;
    Material material;
    ConductorKind kind;
    LayingMethod laying;
    std::string length, loss, multiplicity;
    GivenLoad given;
    std::string load;
};

QStringList Shown(std::initializer_list<const TextBox*> boxes) {
    QStringList texts;
    for (const TextBox* box : boxes) texts << box->Text();
    return texts;
}

QStringList Qs(std::initializer_list<std::string> texts) {
    QStringList list;
    for (const std::string& text : texts) list << Q(text);
    return list;
}

template <class T>
const T& Pick(std::mt19937& random, const std::vector<T>& values) {
    return values[std::uniform_int_distribution<std::size_t>(0, values.size() - 1)(random)];
}

std::vector<Case> Generate(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::vector<Case> cases;
    for (int i = 0; i < count; ++i) {
        Case c;
        c.supply = Pick(random, std::vector{SupplyKind::DC, SupplyKind::SinglePhase, SupplyKind::ThreePhase});
        c.voltage = Pick(random, std::vector<std::string>{"220", "380", "127", "36", "12", "230", "400"});
        c.material = Pick(random, std::vector{Material::Copper, Material::Aluminium});
        c.kind = Pick(random, std::vector{ConductorKind::Wire, ConductorKind::Cable});
        const int layings = c.kind == ConductorKind::Wire ? 6 : 9;
        const int offset = c.kind == ConductorKind::Wire ? 0 : 6;
        c.laying = static_cast<LayingMethod>(offset + std::uniform_int_distribution<int>(0, layings - 1)(random));
        c.length = Pick(random, std::vector<std::string>{"1", "10", "25,5", "100", "700", "3", "50"});
        c.loss = Pick(random, std::vector<std::string>{"4", "5", "7", "10"});
        c.multiplicity = Pick(random, std::vector<std::string>{"0,8", "1", "1,25", "2", "4,5", "7"});
        c.given = Pick(random, std::vector{GivenLoad::Power, GivenLoad::Current});
        // Now and then an input the window refuses or cannot calculate.
        const int odd = std::uniform_int_distribution<int>(0, 11)(random);
        const int top = c.given == GivenLoad::Power ? 5000 : 60000;
        c.load = odd == 0 ? Pick(random, std::vector<std::string>{"", "2.5", "-1", "0", "99999", "12,"})
                          : WriteNumber(std::uniform_int_distribution<int>(1, top)(random) / 100.0);
        if (odd == 1) c.length = Pick(random, std::vector<std::string>{"", "abc", "0"});
        if (odd == 2) c.voltage = Pick(random, std::vector<std::string>{"0", "", "2.2"});
        cases.push_back(c);
    }
    return cases;
}

class WindowVsBatch : public ::testing::Test {
protected:
    void SetUp() override {
        shell::SetEndProgramHandler([] {});
    }
    void TearDown() override {
        shell::ReleaseForm2();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        shell::SetEndProgramHandler({});
    }

    // Sets the window up for a case, as a user would.
    static void Arrange(MainWindow& form, const Case& c) {
        OptionButton* supply = c.supply == SupplyKind::DC            ? form.Option17
                               : c.supply == SupplyKind::SinglePhase ? form.Option3
                                                                     : form.Option4;
        supply->Select();
        form.Combo2->Write(Q(c.voltage));
        (c.material == Material::Copper ? form.Option5 : form.Option6)->Select();
        (c.kind == ConductorKind::Wire ? form.p : form.k)->Select();
        const auto index = static_cast<std::size_t>(c.laying);
        (c.kind == ConductorKind::Wire ? form.wire_laying[index] : form.cable_laying[index - kWireLayingCount])
            ->Select();
    }

    // The message the window shows, after the recommendation has had its turn.
    static QString Settle(MainWindow& form) {
        if (form.Timer1->Enabled()) form.Timer1->Tick();
        return shell::Form2Exists() ? shell::Form2().Label1()->text() : QString();
    }
};

TEST_F(WindowVsBatch, ForwardCalculation) {
    int compared = 0, with_message = 0;
    for (const Case& c : Generate(2026, 300)) {
        SCOPED_TRACE(c.load + " " + c.voltage + " len " + c.length);
        auto form = std::make_unique<MainWindow>();
        form->show();
        Arrange(*form, c);
        form->txtL->Write(Q(c.length));
        form->Combo1->Write(Q(c.loss));
        form->Combo4->Choose(Q(c.multiplicity));
        (c.given == GivenLoad::Power ? form->Option1 : form->Option2)->Select();
        (c.given == GivenLoad::Power ? form->txtP : form->txtI)->Write(Q(c.load));
        form->Command2->Press();
        const QString window_message = Settle(*form);

        LineInput line{c.supply, c.voltage, {c.material, c.kind, c.laying}, c.length, c.loss, c.multiplicity, {}};
        const LineResult batch = CalculateForward({line, c.given, c.load});
        if (!batch.message.empty()) {
            ++with_message;
            EXPECT_EQ(window_message, Q(batch.message));
            shell::ReleaseForm2();
            continue;
        }
        ++compared;
        EXPECT_EQ(window_message, "");
        EXPECT_EQ(Shown({form->txtI, form->txtP, form->Text2, form->Text1, form->Text14, form->Text13, form->Text15,
                         form->Text16}),
                  Qs({batch.current, batch.power, batch.section_by_current, batch.section_by_loss,
                      batch.current_at_multiplicity, batch.breaker, batch.rcd_rated, batch.rcd_trip}));
        EXPECT_EQ(form->Label4->Caption(), Q(RecommendationText(batch)));
    }
    EXPECT_GT(compared, 120);
    EXPECT_GT(with_message, 20);
}

TEST_F(WindowVsBatch, ReverseCalculation) {
    int compared = 0;
    for (const Case& c : Generate(7, 150)) {
        auto form = std::make_unique<MainWindow>();
        form->show();
        Arrange(*form, c);
        form->Timer3->Tick();
        const QStringList sections = form->Combo3->Items();
        const QString section =
            sections[static_cast<int>(c.load.size() * 7 % static_cast<std::size_t>(sections.size()))];
        SCOPED_TRACE(section.toStdString());
        form->Check3->SetValue(true);
        form->Combo3->Write(section);
        form->Command5->Press();
        const QString window_message = Settle(*form);

        LineInput line{c.supply, c.voltage, {c.material, c.kind, c.laying}, "1", "4", "1", {}};
        const LineResult batch = CalculateReverse({line, shell::S(section)});
        if (!batch.message.empty()) {
            if (batch.message == messages::kSectionNotInTable) {
                EXPECT_EQ(window_message, "");  // the window shows an empty panel
                EXPECT_EQ(form->Text7->Text(), "");
            } else {
                EXPECT_EQ(window_message, Q(batch.message));
            }
            shell::ReleaseForm2();
            continue;
        }
        ++compared;
        EXPECT_EQ(window_message, "");
        EXPECT_EQ(Shown({form->Text7, form->Text5, form->Text9, form->Text10, form->Text11}),
                  Qs({batch.current, batch.power, batch.breaker, batch.rcd_rated, batch.rcd_trip}));
    }
    EXPECT_GT(compared, 70);
}

}  // namespace
}  // namespace kelvo::mainwindow
