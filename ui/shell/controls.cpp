#include "ui/shell/controls.h"

#include <QAccessibleWidget>
#include <QCompleter>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>

#include "ui/shell/skin.h"

namespace kelvo::shell {
namespace {

int depth = 0;
bool overflowed = false;
std::function<void(const QString&)>& TraceFunction() {
    static std::function<void(const QString&)> trace;
    return trace;
}

// One level of the cascade for as long as it lives.
class CascadeLevel {
public:
    CascadeLevel() : entered_(depth < Cascade::kDepthLimit) {
        if (entered_)
            ++depth;
        else
            overflowed = true;
    }
    ~CascadeLevel() {
        if (entered_) --depth;
    }
    CascadeLevel(const CascadeLevel&) = delete;
    CascadeLevel& operator=(const CascadeLevel&) = delete;
    bool Entered() const { return entered_; }

private:
    bool entered_;
};

// The name a control's handlers run under: a control of a window that is no widget (the
// never-shown window) carries that window's name.
QString RouteName(const QObject* control) {
    const QObject* window = control->parent();
    if (window && !window->isWidgetType() && !window->objectName().isEmpty())
        return window->objectName() + QLatin1Char('.') + control->objectName();
    return control->objectName();
}

}  // namespace

int Cascade::Depth() { return depth; }
bool Cascade::Overflowed() { return overflowed; }
void Cascade::ResetOverflow() { overflowed = false; }
void Cascade::SetTrace(std::function<void(const QString&)> trace) { TraceFunction() = std::move(trace); }

void RunHandler(const Handler& handler, const QString& control, const char* event) {
    if (!handler) return;
    const CascadeLevel level;
    if (!level.Entered()) return;
    if (TraceFunction()) TraceFunction()(control + QLatin1Char('.') + QLatin1String(event));
    // A copy: the handler may replace or release what holds it.
    const Handler step = handler;
    step();
}

void TextCell::Write(const QString& text) {
    if (text == text_) return;
    text_ = text;
    RunHandler(on_change_, name_, "Change");
}

TextBox::TextBox(QWidget* parent, const QString& name) : QLineEdit(parent) {
    setObjectName(name);
    connect(this, &QLineEdit::textEdited, this, [this] { RunHandler(on_change_, objectName(), "Change"); });
}

void TextBox::Write(const QString& text) {
    if (text == this->text()) return;
    setText(text);
    RunHandler(on_change_, objectName(), "Change");
}

void TextBox::SetRelief(Relief relief) {
    if (relief == relief_) return;
    relief_ = relief;
    update();
}

void TextBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (relief_ == Relief::Sunken) return;
    QPainter p(this);
    const QRect r = rect();
    const auto edge = [&](int inset, const QColor& top_left, const QColor& bottom_right) {
        const QRect e = r.adjusted(inset, inset, -inset - 1, -inset - 1);
        p.setPen(top_left);
        p.drawLine(e.topLeft(), e.topRight());
        p.drawLine(e.topLeft(), e.bottomLeft());
        p.setPen(bottom_right);
        p.drawLine(e.bottomLeft(), e.bottomRight());
        p.drawLine(e.topRight(), e.bottomRight());
    };
    if (relief_ == Relief::Raised) {
        // Light from the top left: a white edge above and left, a dark one below and right.
        edge(0, QColor(255, 255, 255), QColor(64, 64, 64));
        edge(1, QColor(240, 240, 240), QColor(128, 128, 128));
    } else {
        const QColor line(128, 128, 128), ground = palette().color(QPalette::Base);
        edge(0, line, line);
        edge(1, ground, ground);
    }
}

OptionButton::OptionButton(QWidget* parent, const QString& name, const QString& caption)
    : QRadioButton(caption, parent) {
    setObjectName(name);
    connect(this, &QRadioButton::clicked, this, [this] { RunHandler(on_click_, objectName(), "Click"); });
}

void OptionButton::Select() {
    setChecked(true);
    RunHandler(on_click_, objectName(), "Click");
}

CheckBox::CheckBox(QWidget* parent, const QString& name, const QString& caption) : QCheckBox(caption, parent) {
    setObjectName(name);
    connect(this, &QCheckBox::clicked, this, [this] { RunHandler(on_click_, objectName(), "Click"); });
}

void CheckBox::SetValue(bool value) {
    if (value == isChecked()) return;
    setChecked(value);
    RunHandler(on_click_, objectName(), "Click");
}

CommandButton::CommandButton(QWidget* parent, const QString& name, const QString& caption)
    : QPushButton(caption, parent) {
    setObjectName(name);
    connect(this, &QPushButton::clicked, this, [this] { RunHandler(on_click_, objectName(), "Click"); });
}

void CommandButton::Press() { RunHandler(on_click_, objectName(), "Click"); }

ComboBox::ComboBox(QWidget* parent, const QString& name, bool editable) : QComboBox(parent) {
    setObjectName(name);
    if (editable) {
        // The text is edited in a line edit of our own, without completion: a number is taken
        // as it is typed. (A completing box turns "22" into "220", the first item it starts,
        // as soon as the user moves on.) The combo makes a completing one for any line edit
        // that has none, so the line edit holds a bare stand-in until it has been handed over.
        // One stand-in serves every box (a completer takes a while to make): the application
        // owns it, so a line edit lets it go without deleting it.
        static QPointer<QCompleter> stand_in;
        if (!stand_in) stand_in = new QCompleter(QCoreApplication::instance());
        auto* edit = new QLineEdit(this);
        edit->setPalette(palette());
        edit->setCompleter(stand_in);
        setLineEdit(edit);
        edit->setCompleter(nullptr);
    }
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    connect(this, &QComboBox::activated, this, [this] { RunHandler(on_click_, objectName(), "Click"); });
    // The user's typing and a choice from the list change the text without Write.
    connect(this, &QComboBox::currentTextChanged, this, [this] {
        if (!quiet_) RunHandler(on_change_, objectName(), "Change");
    });
}

template <class Change>
void ComboBox::ChangeText(Change change) {
    const QString before = currentText();
    quiet_ = true;
    change();
    quiet_ = false;
    if (currentText() != before) RunHandler(on_change_, objectName(), "Change");
}

void ComboBox::Write(const QString& text) {
    if (text == currentText()) return;
    ChangeText([&] {
        if (isEditable())
            setEditText(text);
        else
            setCurrentIndex(findText(text));
    });
}

void ComboBox::Choose(const QString& text) {
    const int index = findText(text);
    if (index >= 0)
        ChangeText([&] { setCurrentIndex(index); });
    else
        Write(text);
    RunHandler(on_click_, objectName(), "Click");
}

void ComboBox::Clear() {
    ChangeText([&] {
        clear();
        if (isEditable()) setEditText(QString());
    });
}

void ComboBox::AddItem(const QString& text) {
    // Appending to the list must not change the shown text.
    const QString shown = currentText();
    ChangeText([&] {
        addItem(text);
        if (isEditable() && currentText() != shown) setEditText(shown);
    });
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
        RunHandler(on_click_, objectName(), "Click");
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
    if (indent < 0 && frameWidth() > 0) indent = fontMetrics().horizontalAdvance(QLatin1Char('x')) - margin_twice;
    int width_extra = margin_twice;
    int height_extra = margin_twice;
    if (indent > 0) {
        if (align & (Qt::AlignLeft | Qt::AlignRight)) width_extra += indent;
        if (align & (Qt::AlignTop | Qt::AlignBottom)) height_extra += indent;
    }
    const int flags = static_cast<int>(align & ~(Qt::AlignVCenter | Qt::AlignHCenter));
    const QRect text = fontMetrics().boundingRect(0, 0, 2000 - width_extra - margins.left() - margins.right(), 2000,
                                                  flags, this->text());
    resize(QSize(text.width() + width_extra + margins.left() + margins.right(),
                 text.height() + height_extra + margins.top() + margins.bottom())
               .expandedTo(minimumSize()));
}

void Label::SetBorderStyle(int style) {
    setFrameShape(style == 1 ? QFrame::Box : QFrame::NoFrame);
    setLineWidth(1);
}

namespace {

// A frame as a screen reader takes it: a group with the caption as its name.
QAccessibleInterface* FrameAccessible(const QString& class_name, QObject* object) {
    if (class_name != QLatin1String(Frame::staticMetaObject.className())) return nullptr;
    auto* frame = static_cast<Frame*>(object);
    return new QAccessibleWidget(frame, QAccessible::Grouping, frame->title());
}

}  // namespace

Frame::Frame(QWidget* parent, const QString& name, const QString& caption) : QWidget(parent), title_(caption) {
    [[maybe_unused]] static const bool accessible = (QAccessible::installFactory(FrameAccessible), true);
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

void Timer::Tick() { RunHandler(on_tick_, RouteName(this), "Timer"); }

}  // namespace kelvo::shell
