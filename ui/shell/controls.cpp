#include "ui/shell/controls.h"

#include <QCompleter>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "ui/shell/skin.h"

namespace kelvo::shell {
namespace {

int depth = 0;
bool overflowed = false;

}  // namespace

bool Cascade::Enter() {
    if (depth >= kDepthLimit) {
        overflowed = true;
        return false;
    }
    ++depth;
    return true;
}

void Cascade::Leave() { --depth; }
int Cascade::Depth() { return depth; }
bool Cascade::Overflowed() { return overflowed; }
void Cascade::ResetOverflow() { overflowed = false; }

void RunHandler(const Handler& handler) {
    if (!handler || !Cascade::Enter()) return;
    // A copy: the handler may replace or release what holds it.
    const Handler step = handler;
    step();
    Cascade::Leave();
}

void TextCell::Write(const QString& text) {
    if (text == text_) return;
    text_ = text;
    RunHandler(on_change_);
}

TextBox::TextBox(QWidget* parent, const QString& name) : QLineEdit(parent) {
    setObjectName(name);
    connect(this, &QLineEdit::textEdited, this, [this] { RunHandler(on_change_); });
}

void TextBox::Write(const QString& text) {
    if (text == this->text()) return;
    setText(text);
    RunHandler(on_change_);
}

OptionButton::OptionButton(QWidget* parent, const QString& name, const QString& caption)
    : QRadioButton(caption, parent) {
    setObjectName(name);
    connect(this, &QRadioButton::clicked, this, [this] { RunHandler(on_click_); });
}

void OptionButton::Select() {
    setChecked(true);
    RunHandler(on_click_);
}

CheckBox::CheckBox(QWidget* parent, const QString& name, const QString& caption)
    : QCheckBox(caption, parent) {
    setObjectName(name);
    connect(this, &QCheckBox::clicked, this, [this] { RunHandler(on_click_); });
}

void CheckBox::SetValue(bool value) {
    if (value == isChecked()) return;
    setChecked(value);
    RunHandler(on_click_);
}

CommandButton::CommandButton(QWidget* parent, const QString& name, const QString& caption)
    : QPushButton(caption, parent) {
    setObjectName(name);
    connect(this, &QPushButton::clicked, this, [this] { RunHandler(on_click_); });
}

void CommandButton::Press() { RunHandler(on_click_); }

ComboBox::ComboBox(QWidget* parent, const QString& name, bool editable) : QComboBox(parent) {
    setObjectName(name);
    if (editable) {
        // The text is edited in a line edit of our own, without completion: a number is taken
        // as it is typed. (A completing box turns "22" into "220", the first item it starts,
        // as soon as the user moves on.) The combo makes a completing one for any line edit
        // that has none, so the line edit holds a bare stand-in until it has been handed over;
        // removing the stand-in deletes it, as the line edit owns it.
        auto* edit = new QLineEdit(this);
        edit->setPalette(palette());
        edit->setCompleter(new QCompleter(edit));
        setLineEdit(edit);
        edit->setCompleter(nullptr);
    }
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    connect(this, &QComboBox::activated, this, [this] { RunHandler(on_click_); });
    connect(this, &QComboBox::currentTextChanged, this, [this] {
        if (!quiet_) RunHandler(on_change_);
    });
}

void ComboBox::Write(const QString& text) {
    if (text == currentText()) return;
    if (isEditable()) {
        setEditText(text);
    } else {
        const int index = findText(text);
        setCurrentIndex(index);
    }
}

void ComboBox::Choose(const QString& text) {
    const int index = findText(text);
    if (index >= 0) setCurrentIndex(index);
    else Write(text);
    RunHandler(on_click_);
}

void ComboBox::Clear() {
    clear();
    if (isEditable()) setEditText(QString());
}

void ComboBox::AddItem(const QString& text) {
    // Appending to the list must not change the shown text.
    const QString shown = currentText();
    quiet_ = true;
    addItem(text);
    if (isEditable() && currentText() != shown) setEditText(shown);
    quiet_ = false;
    if (currentText() != shown) RunHandler(on_change_);
}

QStringList ComboBox::Items() const {
    QStringList items;
    for (int i = 0; i < count(); ++i) items << itemText(i);
    return items;
}

Label::Label(QWidget* parent, const QString& name, const QString& caption) : QLabel(caption, parent) {
    setObjectName(name);
}

void Label::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        RunHandler(on_click_);
    QLabel::mouseReleaseEvent(event);
}

void Label::FitToCaption() {
    ensurePolished();
    // An empty caption has no text to measure, and a wrapped one is sized by the toolkit's
    // own rule for wrapping.
    if (text().isEmpty() || wordWrap()) {
        resize(sizeHint());
        return;
    }
    // The toolkit measures a caption in a 2000-pixel box, without centring, so that halving a
    // width cannot round it.
    const QMargins margins = contentsMargins();
    const int margin_twice = 2 * margin();
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    // A framed label without an indent of its own is indented by the width of an "x".
    int indent = this->indent();
    if (indent < 0 && frameWidth() > 0)
        indent = fontMetrics().horizontalAdvance(QLatin1Char('x')) - margin_twice;
    int width_extra = margin_twice;
    int height_extra = margin_twice;
    if (indent > 0) {
        if (align & (Qt::AlignLeft | Qt::AlignRight)) width_extra += indent;
        if (align & (Qt::AlignTop | Qt::AlignBottom)) height_extra += indent;
    }
    const int flags = static_cast<int>(align & ~(Qt::AlignVCenter | Qt::AlignHCenter));
    const QRect text = fontMetrics().boundingRect(
        0, 0, 2000 - width_extra - margins.left() - margins.right(), 2000, flags, this->text());
    resize(QSize(text.width() + width_extra + margins.left() + margins.right(),
                 text.height() + height_extra + margins.top() + margins.bottom())
               .expandedTo(minimumSize()));
}

void Label::SetBorderStyle(int style) {
    setFrameShape(style == 1 ? QFrame::Box : QFrame::NoFrame);
    setLineWidth(1);
}

Frame::Frame(QWidget* parent, const QString& name, const QString& caption) : QGroupBox(caption, parent) {
    setObjectName(name);
}

void Frame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (autoFillBackground()) p.fillRect(rect(), palette().color(QPalette::Window));
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    // An etched border: a dark line with a light one inside it.
    FillOutline(p, QRect(0, top, width() - 2, height() - top - 2), QColor(160, 140, 96));
    FillOutline(p, QRect(1, top + 1, width() - 2, height() - top - 2), QColor(255, 250, 235));
    if (title().isEmpty()) return;
    const QRect caption(6, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    p.fillRect(caption, palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(caption, Qt::AlignCenter, title());
}

Timer::Timer(QObject* parent, const QString& name, int interval_ms) : QTimer(parent) {
    setObjectName(name);
    setInterval(interval_ms);
    connect(this, &QTimer::timeout, this, [this] { Tick(); });
}

void Timer::SetEnabled(bool enabled) {
    if (enabled)
        start();
    else
        stop();
}

void Timer::Tick() { RunHandler(on_tick_); }

}  // namespace kelvo::shell
