// The controls of the program's windows and the one cascade rule they share: writing a box's
// text (a text box, a combo box or a cell of the never-shown window) compares it with the text
// it holds and, only on a real change, runs its change handler at once; pressing a button or
// selecting an option by code runs its click handler at once. Every calculation is a
// depth-first cascade of such handlers inside one user event. Every handler runs under its
// control's name and event ("Text6.Change", "frmS.Text2.Change", "Timer1.Timer"), so that the
// route of a click can be traced. The controls take their window's font (the skinned window
// sets it once) unless one is given its own.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QTimer>
#include <functional>

namespace kelvo::shell {

using Handler = std::function<void()>;

// Counts nested handlers. The design has no handler loops, so a cascade deeper than the limit
// is a fault: the write is refused and the fault is remembered for the tests to see.
class Cascade {
public:
    static constexpr int kDepthLimit = 64;
    static int Depth();
    static bool Overflowed();
    static void ResetOverflow();
    // Reports every handler about to run by its name ("Text6.Change"); an empty function stops
    // the reports. For tests and for reading a click's route against the design.
    static void SetTrace(std::function<void(const QString& step)> trace);
};

// Runs a handler as one step of a cascade, under the name `control` "." `event` (nothing if
// there is none or the depth limit is reached). The depth is given back however the handler
// ends.
void RunHandler(const Handler& handler, const QString& control, const char* event);

// A text cell of a window that is never shown; `name` is its design name with the window's
// ("frmS.Text2").
class TextCell {
public:
    explicit TextCell(QString name, QString design_text = {}) : name_(std::move(name)), text_(std::move(design_text)) {}
    const QString& Text() const { return text_; }
    void Write(const QString& text);
    void OnChange(Handler handler) { on_change_ = std::move(handler); }

private:
    QString name_;
    QString text_;
    Handler on_change_;
};

// An editable text box. The user's typing and the program's writes run the same change
// handler; a write of the text the box already holds runs nothing.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    TextBox(QWidget* parent, const QString& name);
    QString Text() const { return text(); }
    void Write(const QString& text);
    void OnChange(Handler handler) { on_change_ = std::move(handler); }

    // The box's edge: the toolkit's sunken one, raised (the box that takes the value), or flat.
    enum class Relief { Sunken, Raised, Flat };
    Relief GetRelief() const { return relief_; }
    void SetRelief(Relief relief);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Handler on_change_;
    Relief relief_ = Relief::Sunken;
};

// An option button: selecting it by code runs its click handler as a user's click does.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    OptionButton(QWidget* parent, const QString& name, const QString& caption);
    bool Value() const { return isChecked(); }
    void Select();
    void OnClick(Handler handler) { on_click_ = std::move(handler); }

private:
    Handler on_click_;
};

// A check box: changing its value by code runs its click handler, as a user's click does.
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    CheckBox(QWidget* parent, const QString& name, const QString& caption);
    bool Value() const { return isChecked(); }
    void SetValue(bool value);
    void OnClick(Handler handler) { on_click_ = std::move(handler); }

private:
    Handler on_click_;
};

// A command button: pressing it by code runs its click handler.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(QWidget* parent, const QString& name, const QString& caption);
    void Press();
    void OnClick(Handler handler) { on_click_ = std::move(handler); }

private:
    Handler on_click_;
};

// A combo box with an editable text: Write sets the shown text as a text box's Write does; a
// choice from the list runs the click handler; any change of the shown text, typed or written,
// runs the change handler.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    ComboBox(QWidget* parent, const QString& name, bool editable = true);
    QString Text() const { return currentText(); }
    void Write(const QString& text);
    // A choice from the list, as the user makes it: the text, then the click handler.
    void Choose(const QString& text);
    // Empties the list and the shown text.
    void Clear();
    void AddItem(const QString& text);
    QStringList Items() const;
    void OnClick(Handler handler) { on_click_ = std::move(handler); }
    void OnChange(Handler handler) { on_change_ = std::move(handler); }

private:
    // Changes the shown text without the toolkit's signal, then runs the change handler once if
    // the text changed.
    template <class Change>
    void ChangeText(Change change);

    Handler on_click_;
    Handler on_change_;
    bool quiet_ = false;
};

// A caption label with an optional border.
class Label : public QLabel {
    Q_OBJECT
public:
    Label(QWidget* parent, const QString& name, const QString& caption);
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }
    int BorderStyle() const { return frameShape() == QFrame::Box ? 1 : 0; }
    void SetBorderStyle(int style);
    void OnClick(Handler handler) { on_click_ = std::move(handler); }
    // Sizes the label to its caption, as the toolkit's size hint does, with one measurement of
    // the text (the size hint measures it three times).
    void FitToCaption();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Handler on_click_;
};

// A frame with its caption on the top border line. It draws itself and its children stand at
// set places, so it is a plain widget rather than a group box (whose set-up measures the caption
// in the style's bold face twice for a border it would not draw); screen readers still meet it as
// a group named by its caption.
class Frame : public QWidget {
    Q_OBJECT
public:
    Frame(QWidget* parent, const QString& name, const QString& caption);
    const QString& title() const { return title_; }
    void SetCaption(const QString& caption) {
        if (caption == title_) return;
        title_ = caption;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
};

// A timer that runs its handler on a later turn of the event loop while it is enabled. A timer
// of the never-shown window is named with the window's name ("frmS.Timer1").
class Timer : public QTimer {
    Q_OBJECT
public:
    Timer(QObject* parent, const QString& name, int interval_ms);
    bool Enabled() const { return isActive(); }
    void SetEnabled(bool enabled);
    void OnTick(Handler handler) { on_tick_ = std::move(handler); }
    // Runs one tick now (tests do this after checking that the timer is armed).
    void Tick();

private:
    Handler on_tick_;
};

}  // namespace kelvo::shell
