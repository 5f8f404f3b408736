#include "ui/conditions/conditions_window.h"

#include <variant>

#include "core/maximum_current.h"
#include "ui/shell/qtext.h"
#include "ui/shell/skin.h"

namespace kelvo::conditions {

using shell::PlaceTwips;
using shell::Q;
using shell::S;

ConditionsWindow::ConditionsWindow()
    : SkinnedWindow(QStringLiteral("Условия прокладки"), QStringLiteral("Условия прокладки"), 40),
      ambient_(new QLineEdit(this)),
      cables_(new QLineEdit(this)),
      distance_(new QLineEdit(this)),
      laying_(new QLabel(this)),
      factors_(new QLabel(this)),
      corrected_(new QLabel(this)),
      defaults_(new QPushButton(QStringLiteral("По умолчанию"), this)) {
    setObjectName(QStringLiteral("FormConditions"));
    shell::SetBackground(this, shell::colors::kBackground);
    for (QLabel* label : {laying_, factors_, corrected_}) {
        label->setFont(shell::UiFont(8.25));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    PlaceTwips(laying_, 240, 480, 6960, 255);
    shell::TwipsCaption(this, QStringLiteral("Температура среды, °C:"), 240, 840, 3600);
    PlaceTwips(ambient_, 4080, 810, 1200, 315);
    shell::TwipsCaption(this, QStringLiteral("Кабелей рядом в земле:"), 240, 1200, 3600);
    PlaceTwips(cables_, 4080, 1170, 1200, 315);
    shell::TwipsCaption(this, QStringLiteral("Расстояние между ними, мм:"), 240, 1560, 3600);
    PlaceTwips(distance_, 4080, 1530, 1200, 315);
    PlaceTwips(factors_, 240, 2040, 6960, 255);
    PlaceTwips(corrected_, 240, 2400, 6960, 495);
    corrected_->setWordWrap(true);
    PlaceTwips(defaults_, 5520, 1500, 1680, 375);
    shell::SetBackground(defaults_, shell::colors::kBackground);
    auto* note =
        shell::TwipsCaption(this,
                            QStringLiteral("Программа не хранит настроек: при новом запуске — условия таблиц (воздух "
                                           "+25 °C, земля +15 °C, один кабель)."),
                            240, 3000, 6960);
    note->setWordWrap(true);
    note->resize(note->width(), shell::TwipsToPixelsY(495));
    ambient_->setPlaceholderText(QStringLiteral("+25 / +15"));
    cables_->setPlaceholderText(QStringLiteral("1"));
    distance_->setPlaceholderText(QStringLiteral("100"));
    ambient_->setAccessibleName(QStringLiteral("Температура среды, °C"));
    cables_->setAccessibleName(QStringLiteral("Число рабочих кабелей рядом в земле"));
    distance_->setAccessibleName(QStringLiteral("Расстояние между кабелями в свету, мм"));
    factors_->setAccessibleName(QStringLiteral("Поправочные коэффициенты"));
    corrected_->setAccessibleName(QStringLiteral("Допустимый ток с поправкой"));
    for (QLineEdit* box : {ambient_, cables_, distance_})
        connect(box, &QLineEdit::textChanged, this, [this] {
            Show();
            emit changed();
        });
    connect(defaults_, &QPushButton::clicked, this, [this] { Reset(); });
    StackFrame();
    ResizeTwips(7440, 3660);
    ApplyFrame();
    Show();
}

LayingConditions ConditionsWindow::Typed() const { return {ambient_text_, cables_text_, distance_text_}; }

void ConditionsWindow::SetLine(const ConductorChoice& conductor, const QString& recommended) {
    conductor_ = conductor;
    recommended_ = recommended;
    Show();
}

void ConditionsWindow::Reset() {
    for (QLineEdit* box : {ambient_, cables_, distance_}) box->clear();
}

// The factors for the main window's laying, and the recommended section's corrected current.
void ConditionsWindow::Show() {
    ambient_text_ = S(ambient_->text());
    cables_text_ = S(cables_->text());
    distance_text_ = S(distance_->text());
    const auto laying = EffectiveLaying(conductor_);
    if (!laying) {
        laying_->setText(QStringLiteral("Выберите проводник и прокладку в главном окне."));
        factors_->clear();
        corrected_->clear();
        return;
    }
    laying_->setText(InGround(*laying) ? QStringLiteral("Прокладка в земле: таблицы для земли +15 °C")
                                       : QStringLiteral("Прокладка в воздухе: таблицы для воздуха +25 °C"));
    cables_->setEnabled(InGround(*laying));
    distance_->setEnabled(InGround(*laying));
    const auto correction = CorrectionFor(*laying, Typed());
    if (const auto* message = std::get_if<std::string>(&correction)) {
        factors_->setText(Q(*message));
        factors_->setStyleSheet(QStringLiteral("color: #b00000"));
        corrected_->clear();
        return;
    }
    factors_->setStyleSheet(QString());
    const Correction& k = std::get<Correction>(correction);
    factors_->setText(
        QStringLiteral("Kt = %1,  Kn = %2,  K = Kt × Kn = %3")
            .arg(Q(WriteNumber(k.kt.ToDouble())), Q(WriteNumber(k.kn.ToDouble())), Q(WriteNumber(k.k.ToDouble()))));
    const std::string table = MaximumCurrentBySection(S(recommended_), conductor_);
    if (recommended_.isEmpty() || !ReadNumber(table)) {
        corrected_->setText(QStringLiteral("Рекомендуемого сечения нет: рассчитайте линию в главном окне."));
        return;
    }
    corrected_->setText(QStringLiteral("Допустимый ток рекомендуемого сечения %1 мм²: %2 А × %3 = %4 А")
                            .arg(recommended_, Q(table), Q(WriteNumber(k.k.ToDouble())),
                                 Q(CorrectedMaximumCurrentBySection(S(recommended_), conductor_, k.k))));
}

void ConditionsWindow::OnClosePressed() { hide(); }

}  // namespace kelvo::conditions
