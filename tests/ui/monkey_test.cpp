// Long random user sessions on the real windows, the event loop running between steps (posted
// events are delivered, timers that are due fire), windows now and then closed as a window
// manager closes them. After every step: no cascade runs away, every option group has exactly
// one choice, the program has ended or the main window or the message window is shown, and no
// text the program wrote shows "inf", "nan", an exponent or a decimal point.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <functional>
#include <memory>
#include <QRegularExpression>
#include <random>

#include "ui/main/main_window.h"
#include "ui/shell/connectivity.h"
#include "ui/shell/links.h"
#include "ui/shell/message_window.h"
#include "ui/shell/picture_viewer.h"
#include "ui/shell/program.h"

namespace kelvo::mainwindow {
namespace {

using shell::Cascade;

QString HostileText(std::mt19937& random) {
    // clang-format off
    static const QString kTexts[] = {
        "", ".", "-", " ", ",", "2,5", "12,", ",5", "-1", "0", "2.5", "abc", "1e400", "1E5",
        "99999999999999999999999", "0,000000000000000000001", " 7 ", "мощность", "∞", "NaN",
        "inf", "1 000", "1,2,3", "--5", "+5", "0x10", "400", "185", "0,6", "830", "23", "1000",
        QString::fromUtf8("\xFF\xFE\xC3"), QString(10000, QLatin1Char('9')), QString(300, QLatin1Char('7')) + ",5",
    };
    // clang-format on
    if (std::uniform_int_distribution<int>(0, 3)(random) == 0) {
        const int hundredths = std::uniform_int_distribution<int>(0, 200000)(random);
        return QString::number(hundredths / 100) + QLatin1Char(',') + QString::number(hundredths % 100);
    }
    return kTexts[std::uniform_int_distribution<std::size_t>(0, std::size(kTexts) - 1)(random)];
}

// A text the program wrote must be a number with a comma, a code, a sentence, or empty.
bool LooksWrittenByTheProgram(const QString& text) {
    const QString lower = text.toLower();
    if (lower.contains(QLatin1String("inf")) || lower.contains(QLatin1String("nan"))) return false;
    bool digit = false;
    for (const QChar c : text) digit |= c.isDigit();
    if (!digit) return true;
    // Numbers and section texts: no exponent, no decimal point.
    static const QRegularExpression number(QStringLiteral("^-?\\d+(,\\d+)?$"));
    if (number.match(text).hasMatch()) return true;
    return text.contains(QLatin1Char(' '));  // a sentence (recommendation, alternative)
}

class Monkey {
public:
    explicit Monkey(unsigned seed) : random_(seed) { Restart(); }

    // Plays one step; returns its description. A step on a control the user cannot reach is
    // skipped.
    QString Step() {
        const int kind = std::uniform_int_distribution<int>(0, 16)(random_);
        MainWindow& f = *form_;
        const auto skip = [](const QWidget* control) {
            return QStringLiteral("(hidden %1)").arg(control->objectName());
        };
        switch (kind) {
            case 0:
            case 1:
            case 2: {
                QWidget* boxes[] = {f.txtP, f.txtI, f.txtL, f.Combo1, f.Combo2, f.Combo3};
                QWidget* box = boxes[Pick(kind == 2 ? 6 : 3)];
                if (!Reachable(box)) return skip(box);
                const QString text = HostileText(random_);
                if (auto* combo = qobject_cast<ComboBox*>(box))
                    combo->Write(text);
                else
                    static_cast<TextBox*>(box)->Write(text);
                return QStringLiteral("type %1 = \"%2\"").arg(box->objectName(), text.left(40));
            }
            case 3:
            case 4: {
                CommandButton* buttons[] = {f.Command2, f.Command2, f.Command3, f.Command4, f.Command5, f.Command7};
                CommandButton* button = buttons[Pick(6)];
                if (!Reachable(button)) return skip(button);
                button->Press();
                return QStringLiteral("press %1").arg(button->objectName());
            }
            case 5:
            case 6:
            case 7: {
                std::vector<QWidget*> boxes = {f.Option1, f.Option2, f.Option3, f.Option4, f.Option17,
                                               f.Option5, f.Option6, f.p,       f.k,       f.Check2,
                                               f.Check3,  f.Check4,  f.Check5,  f.Check6,  f.Check1};
                boxes.insert(boxes.end(), f.wire_laying.begin(), f.wire_laying.end());
                boxes.insert(boxes.end(), f.cable_laying.begin(), f.cable_laying.end());
                QWidget* box = boxes[Pick(static_cast<int>(boxes.size()))];
                if (!Reachable(box)) return skip(box);
                QTest::mouseClick(box, Qt::LeftButton);
                return QStringLiteral("click %1").arg(box->objectName());
            }
            case 8: {
                Label* labels[] = {f.Label22, f.Label44, f.Label45, f.Label46, f.Label19};
                Label* label = labels[Pick(5)];
                QTest::mouseClick(label, Qt::LeftButton);
                return QStringLiteral("click %1").arg(label->objectName());
            }
            case 9: {
                const auto controls = f.findChildren<QWidget*>();
                QWidget* control = controls[Pick(static_cast<int>(controls.size()))];
                QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), control->mapToGlobal(QPointF(1, 1)), Qt::NoButton,
                                 Qt::NoButton, Qt::NoModifier);
                QCoreApplication::sendEvent(control, &move);
                return QStringLiteral("move over %1").arg(control->objectName());
            }
            case 10: {
                ComboBox* combos[] = {f.Combo4, f.Combo3, f.Combo1, f.Combo2};
                ComboBox* combo = combos[Pick(4)];
                if (!Reachable(combo) || combo->count() == 0) return skip(combo);
                const QString entry = combo->itemText(Pick(combo->count()));
                combo->Choose(entry);
                return QStringLiteral("choose %1 = %2").arg(combo->objectName(), entry);
            }
            case 11: {
                shell::Timer* timers[] = {f.Timer1, f.Timer3, f.frmS().Timer1};
                shell::Timer* timer = timers[Pick(3)];
                if (!timer->Enabled()) return QStringLiteral("(idle %1)").arg(timer->objectName());
                timer->Tick();
                return QStringLiteral("tick %1").arg(timer->objectName());
            }
            case 12:
            case 13: {
                if (!shell::Form2Exists()) return QStringLiteral("(no message)");
                const bool close = Pick(8) == 0;
                QWidget* button = close ? static_cast<QWidget*>(shell::Form2().Picture1(0)) : shell::Form2().Command2();
                QTest::mouseClick(button, Qt::LeftButton);
                return close ? QStringLiteral("close the message window") : QStringLiteral("ОК");
            }
            case 14: {
                if (!shell::Form3Exists()) return QStringLiteral("(no viewer)");
                QTest::mouseClick(shell::Form3().Picture1(Pick(2)), Qt::LeftButton);
                return QStringLiteral("viewer button");
            }
            case 15: {
                // Alt+F4 or the task bar's "Close" on one of the windows shown.
                std::vector<QWidget*> shown = {form_.get()};
                if (shell::Form2Exists() && shell::Form2().isVisible()) shown.push_back(&shell::Form2());
                if (shell::Form3Exists() && shell::Form3().isVisible()) shown.push_back(&shell::Form3());
                QWidget* window = shown[Pick(static_cast<int>(shown.size()))];
                const QString name = window->objectName();
                window->close();
                return QStringLiteral("window manager closes %1").arg(name);
            }
            default:
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                return QStringLiteral("let deferred deletes run");
        }
    }

    // The invariants; an empty text when they hold.
    QString Check() {
        if (ended_) {
            Restart();
            return {};
        }
        MainWindow& f = *form_;
        if (Cascade::Overflowed()) return QStringLiteral("a cascade did not settle");
        if (Cascade::Depth() != 0) return QStringLiteral("a handler did not return");
        const std::vector<std::vector<OptionButton*>> groups = {{f.Option1, f.Option2},
                                                                {f.Option3, f.Option4, f.Option17},
                                                                {f.Option5, f.Option6},
                                                                {f.p, f.k},
                                                                {f.wire_laying.begin(), f.wire_laying.end()},
                                                                {f.cable_laying.begin(), f.cable_laying.end()}};
        for (const auto& group : groups) {
            int chosen = 0;
            for (const OptionButton* option : group) chosen += option->Value() ? 1 : 0;
            if (chosen != 1)
                return QStringLiteral("group of %1 has %2 choices").arg(group[0]->objectName()).arg(chosen);
        }
        if (f.Check2->Value() == f.Check3->Value()) return QStringLiteral("no single calculation chosen");
        const bool message_shown = shell::Form2Exists() && shell::Form2().isVisible();
        if (!f.isVisible() && !message_shown) return QStringLiteral("both windows hidden");
        // The reverse panel copies the load boxes as they stand; only while it is shown are
        // they the program's own (the load boxes are hidden then).
        std::vector<std::pair<const QWidget*, QString>> written;
        for (const TextBox* box : {f.Text1, f.Text2, f.Text3, f.Text4, f.Text6, f.Text9, f.Text10, f.Text11, f.Text13,
                                   f.Text14, f.Text15, f.Text16})
            written.emplace_back(box, box->text());
        if (f.Frame18->isVisible())
            written.insert(written.end(), {{f.Text5, f.Text5->text()}, {f.Text7, f.Text7->text()}});
        for (const Label* label : {f.Label4, f.Label20, f.Label21}) written.emplace_back(label, label->text());
        for (const auto& [control, text] : written)
            if (!LooksWrittenByTheProgram(text))
                return QStringLiteral("%1 shows \"%2\"").arg(control->objectName(), text.left(60));
        return {};
    }

    bool Restarted() {
        const bool restarted = restarted_;
        restarted_ = false;
        return restarted;
    }

private:
    // What a user can reach: shown, in a shown window that no message hides.
    bool Reachable(const QWidget* control) const {
        return form_->isVisible() && control->isVisibleTo(form_.get()) && control->isEnabled();
    }
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

    void Restart() {
        form_.reset();
        shell::ReleaseForm2();
        shell::ReleaseForm3();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ended_ = false;
        restarted_ = true;
        Cascade::ResetOverflow();
        form_ = std::make_unique<MainWindow>();
        form_->show();
        shell::SetEndProgramHandler([this] { ended_ = true; });
    }

    std::mt19937 random_;
    std::unique_ptr<MainWindow> form_;
    bool ended_ = false;
    bool restarted_ = false;
};

// Steps per seed; KELVO_MONKEY_STEPS raises it for a long local run.
int StepsPerSeed() {
    const QByteArray steps = qgetenv("KELVO_MONKEY_STEPS");
    return steps.isEmpty() ? 25000 : steps.toInt();
}

class MonkeyTest : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override {
        shell::SetUrlOpener([](const QUrl&) { return true; });
        shell::SetConnectivityCheck([] { return false; });
    }
    void TearDown() override {
        shell::SetUrlOpener({});
        shell::SetConnectivityCheck({});
        shell::SetEndProgramHandler({});
        shell::ReleaseForm2();
        shell::ReleaseForm3();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_P(MonkeyTest, RandomSession) {
    Monkey monkey(GetParam());
    QStringList replay;  // the steps since the program last started: enough to replay a fault
    const int steps = StepsPerSeed();
    for (int i = 0; i < steps; ++i) {
        if (monkey.Restarted()) replay.clear();
        replay << monkey.Step();
        QCoreApplication::processEvents();
        const QString fault = monkey.Check();
        if (!fault.isEmpty()) {
            FAIL() << "seed " << GetParam() << ", step " << i << ": " << fault.toStdString()
                   << "\nreplay from a fresh start:\n  " << replay.join(QStringLiteral("\n  ")).toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, MonkeyTest, ::testing::Values(1u, 2u, 3u, 4u));

}  // namespace
}  // namespace kelvo::mainwindow
