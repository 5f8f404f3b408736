#include "ui/disconnection/disconnection_window.h"

#include <QEvent>
#include <QSignalBlocker>

#include "core/cross_section_list.h"
#include "core/disconnection.h"
#include "core/messages.h"
#include "core/number_text.h"
#include "core/result_codes.h"
#include "ui/shell/qtext.h"
#include "ui/shell/skin.h"

namespace kelvo::disconnection {

using shell::PlaceTwips;
using shell::Q;
using shell::S;

namespace {

const char* const kAsPhase = "как фазная";

// What each input and result says in the hint line when the pointer is over it.
QString HintOf(const QObject* control) { return control->property("kelvoHint").toString(); }

}  // namespace

DisconnectionWindow::DisconnectionWindow()
    : SkinnedWindow(QStringLiteral("Проверка отключения при КЗ"), QStringLiteral("Проверка отключения при КЗ"), 40),
      characteristic_(new QComboBox(this)),
      upstream_(new QLineEdit(this)),
      pe_(new QComboBox(this)),
      length_(new QLineEdit(this)),
      line_(new QLabel(this)),
      hint_(new QLabel(this)) {
    setObjectName(QStringLiteral("FormDisconnection"));
    shell::SetBackground(this, shell::colors::kBackground);
    PlaceTwips(line_, 240, 480, 6960, 255);
    line_->setAccessibleName(QStringLiteral("Линия последнего расчета"));

    shell::TwipsCaption(this, QStringLiteral("Характеристика автомата:"), 240, 840, 3600);
    characteristic_->addItems({QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    characteristic_->setCurrentIndex(1);
    PlaceTwips(characteristic_, 4080, 810, 1200, 315);
    shell::TwipsCaption(this, QStringLiteral("Сопротивление петли до линии, Ом:"), 240, 1200, 3600);
    PlaceTwips(upstream_, 4080, 1170, 1200, 315);
    shell::TwipsCaption(this, QStringLiteral("Сечение PE, мм²:"), 240, 1560, 3600);
    PlaceTwips(pe_, 4080, 1530, 1800, 315);
    // A reverse calculation's line has no length of its own: it is typed here.
    length_caption_ = shell::TwipsCaption(this, QStringLiteral("Длина, м:"), 5520, 1200, 840);
    PlaceTwips(length_, 6360, 1170, 840, 315);
    length_->setAccessibleName(QStringLiteral("Длина линии обратного расчета, м"));
    length_->setProperty("kelvoHint", QStringLiteral("Длина линии, для которой проверяется сечение обратного расчета"));
    length_->setInputMethodHints(Qt::ImhFormattedNumbersOnly);

    fault_current_ = Value(QStringLiteral("Ток КЗ в конце линии, А"), 240, 2040, 4560);
    trip_current_ = Value(QStringLiteral("Ток мгновенного отключения автомата, А"), 240, 2400, 4560);
    verdict_ = Value(QStringLiteral("Отключение"), 240, 2760, 6960);
    verdict_->setFont(shell::UiFont(9.75, true));
    longest_ = Value(QStringLiteral("Предельная длина линии, м"), 240, 3120, 6960);
    smallest_ = Value(QStringLiteral("Наименьшее сечение для отключения"), 240, 3480, 6960);

    PlaceTwips(hint_, 240, 3960, 6960, 255);
    hint_->setObjectName(QStringLiteral("Hint"));
    hint_->setFont(shell::UiFont(8.25));

    characteristic_->setAccessibleName(QStringLiteral("Характеристика автомата"));
    upstream_->setAccessibleName(QStringLiteral("Сопротивление петли до начала линии, Ом"));
    pe_->setAccessibleName(QStringLiteral("Сечение защитного проводника"));
    characteristic_->setProperty("kelvoHint",
                                 QStringLiteral("B, C или D: автомат отключает мгновенно при 5, 10 или 20 номиналах"));
    upstream_->setProperty(
        "kelvoHint", QStringLiteral("Сопротивление петли фаза — нуль от источника до начала линии (замер или проект)"));
    pe_->setProperty("kelvoHint", QStringLiteral("Сечение защитного проводника PE; «как фазная» — равно фазному"));
    for (QWidget* control : std::initializer_list<QWidget*>{characteristic_, upstream_, pe_, length_})
        control->installEventFilter(this);

    connect(characteristic_, &QComboBox::currentIndexChanged, this, [this] { Recalculate(); });
    connect(upstream_, &QLineEdit::textChanged, this, [this] { Recalculate(); });
    connect(pe_, &QComboBox::currentIndexChanged, this, [this] { Recalculate(); });
    connect(length_, &QLineEdit::textChanged, this, [this] { Recalculate(); });
    StackFrame();
    ResizeTwips(7440, 4380);
    ApplyFrame();
    Empty();
}

QLabel* DisconnectionWindow::Value(const QString& accessible, int left, int top, int width) {
    auto* label = new QLabel(this);
    label->setFont(shell::UiFont(8.25));
    label->setAccessibleName(accessible);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    PlaceTwips(label, left, top, width, 255);
    return label;
}

void DisconnectionWindow::SetSource(const std::optional<LineSource>& source) {
    if (source == source_ && source) return;  // the same line: the inputs typed for it stay
    const bool same_kind = source && source_ && source->material == source_->material && source->kind == source_->kind;
    source_ = source;
    const QString chosen = pe_->currentText();
    if (!same_kind) {
        const QSignalBlocker quiet(pe_);
        pe_->clear();
        pe_->addItem(QString::fromUtf8(kAsPhase));
        if (source)
            for (const std::string_view section : CrossSectionList(source->material, source->kind))
                pe_->addItem(Q(std::string(section)));
        pe_->setCurrentIndex(std::max(0, pe_->findText(chosen)));
    }
    const bool reverse = source && source->reverse;
    length_caption_->setVisible(reverse);
    length_->setVisible(reverse);
    Recalculate();
}

void DisconnectionWindow::Empty() {
    for (QLabel* label : {fault_current_, trip_current_, verdict_, longest_, smallest_}) label->clear();
    verdict_->setPalette(palette());
    line_->setText(source_ ? QString() : QStringLiteral("Нет расчета: рассчитайте линию в главном окне."));
}

void DisconnectionWindow::Prompt(const QString& text) {
    verdict_->setPalette(palette());  // a prompt, in the colour of the window's texts, not a verdict's
    verdict_->setText(text);
}

namespace {

// A figure of the main window as the line shows it: a dash for none, and for the mark of a current
// above every table.
QString Shown(const QString& figure) {
    return figure.isEmpty() || figure == Q(kExceedMarker) ? QStringLiteral("—") : figure;
}

}  // namespace

void DisconnectionWindow::Recalculate() {
    Empty();
    if (!source_) return;
    const LineSource& s = *source_;
    const QString length = s.reverse ? length_->text() : s.length;
    line_->setText(QStringLiteral("Линия: %1 %2 В, %3, %4 мм², %5 м, автомат %6 А")
                       .arg(s.supply == SupplyKind::ThreePhase ? QStringLiteral("3ф")
                            : s.supply == SupplyKind::DC       ? QStringLiteral("постоянный ток")
                                                               : QStringLiteral("1ф"),
                            s.voltage,
                            s.material == Material::Copper ? QStringLiteral("медь") : QStringLiteral("алюминий"),
                            Shown(s.section), Shown(length), Shown(s.breaker)));
    const std::string upstream_text = S(upstream_->text());
    const auto upstream = ReadNumber(upstream_text);
    if (s.supply != SupplyKind::DC && upstream_text.empty())
        return Prompt(QStringLiteral("Введите сопротивление петли до линии в омах, например 0,3"));
    if (s.supply != SupplyKind::DC && (!upstream || *upstream < 0))
        return Prompt(Q(messages::kBadUpstreamImpedance.For(upstream_text)));
    const std::string length_text = S(length);
    if (s.supply != SupplyKind::DC && !length_text.empty() && !ReadNumber(length_text))
        return Prompt(QStringLiteral("Длина «%1» не число: введите длину в метрах, например 25").arg(length));
    DisconnectionLine line;
    line.supply = s.supply;
    line.material = s.material;
    line.laying = s.laying;
    const std::string voltage = S(s.voltage), section = S(s.section), breaker = S(s.breaker);
    line.voltage = voltage;
    line.section = section;
    line.length = length_text;
    line.breaker = breaker;
    line.upstream_impedance = upstream.value_or(0);
    line.pe_section = pe_->currentIndex() > 0 ? ReadNumber(S(pe_->currentText())).value_or(0) : 0;
    line.characteristic = static_cast<TripCharacteristic>(characteristic_->currentIndex());
    DisconnectionTexts check;
    DescribeDisconnection(line, check);
    ShowCheck(check);
    if (check.trip_current.empty() || !check.fault_current.empty() || !s.reverse) return;
    Prompt(QStringLiteral("Введите длину линии, чтобы проверить отключение при КЗ в ее конце"));
}

void DisconnectionWindow::ShowCheck(const DisconnectionTexts& check) {
    if (!check.verdict.empty()) verdict_->setText(QStringLiteral("Отключение ") + Q(check.verdict));
    if (check.trip_current.empty()) return;
    trip_current_->setText(QStringLiteral("Ток отключения Iа: %1 А").arg(Q(check.trip_current)));
    longest_->setText(check.longest_line == "0"
                          ? QStringLiteral("Предельная длина линии: 0 м — уже сопротивление петли до линии больше "
                                           "U0 / Iа: этот автомат не отключит КЗ ни на какой длине")
                          : QStringLiteral("Предельная длина линии: %1 м").arg(Q(check.longest_line)));
    if (check.fault_current.empty()) return;
    fault_current_->setText(QStringLiteral("Ток КЗ в конце линии Iк: %1 А").arg(Q(check.fault_current)));
    QPalette palette = verdict_->palette();
    palette.setColor(QPalette::WindowText, check.not_ensured ? QColor(190, 0, 0) : QColor(0, 120, 0));
    verdict_->setPalette(palette);
    smallest_->setText(check.smallest_section == "нет"
                           ? QStringLiteral("Наименьшее сечение для отключения: нет такого в таблице (PE как фазная)")
                           : QStringLiteral("Наименьшее сечение для отключения: %1 мм² (PE как фазная)")
                                 .arg(Q(check.smallest_section)));
}

void DisconnectionWindow::OnClosePressed() {
    hide();
    deleteLater();
}

bool DisconnectionWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) hint_->setText(HintOf(watched));
    if (event->type() == QEvent::Leave) hint_->clear();
    return SkinnedWindow::eventFilter(watched, event);
}

}  // namespace kelvo::disconnection
