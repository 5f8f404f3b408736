#include "ui/shell/message_window.h"

#include <QFrame>
#include <QKeyEvent>

#include "ui/shell/maker.h"
#include "ui/shell/program.h"
#include "ui/shell/single_window.h"
#include "ui/shell/skin.h"

namespace kelvo::shell {
namespace {

SingleWindow<MessageWindow>& Instance() {
    static SingleWindow<MessageWindow> instance;
    return instance;
}

QFrame* MakeLine(QWidget* parent, const QString& name, int x1, int y1, int x2, int y2) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(x1 == x2 ? QFrame::VLine : QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    line->setStyleSheet(QStringLiteral("color: black;"));
    if (x1 == x2)
        PlaceTwips(line, x1, y1, TwipsPerPixelX(), y2 - y1 + TwipsPerPixelY());
    else
        PlaceTwips(line, x1, y1, x2 - x1 + TwipsPerPixelX(), TwipsPerPixelY());
    return line;
}

}  // namespace

MessageWindow::MessageWindow()
    : SkinnedWindow(maker::kCaption, QStringLiteral("Error"), 0),
      label1_(new QLabel(this)),
      command2_(new QPushButton(QStringLiteral("ОК"), this)) {
    setObjectName(QStringLiteral("Form2"));
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setFont(UiFont(8.25, true));
    label1_->setWordWrap(true);
    label1_->setAttribute(Qt::WA_TranslucentBackground);
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    PlaceTwips(label1_, 720, 720, 9255, 495);

    lines_ = {MakeLine(this, QStringLiteral("Line1"), 480, 600, 10200, 600),
              MakeLine(this, QStringLiteral("Line2"), 10200, 600, 10200, 1200),
              MakeLine(this, QStringLiteral("Line3"), 480, 1200, 10200, 1200),
              MakeLine(this, QStringLiteral("Line4"), 480, 600, 480, 1200)};

    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setFont(UiFont(8.25, true));
    PlaceTwips(command2_, 4440, 1320, 1215, 375);
    connect(command2_, &QPushButton::clicked, this, &MessageWindow::OnCommand2Click);
    // Esc and Enter answer the message as "ОК" does.
    command2_->setDefault(true);

    StackFrame();
    ResizeTwips(10770, 1905);
    // Load: the frame, then the button's skin colour.
    ApplyFrame();
    SetBackground(command2_, colors::kBackground);
}

void MessageWindow::OnClosePressed() {
    if (!EndProgramAsked(this) && isHidden()) show();  // the user goes on: the message stays
}

void MessageWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        command2_->click();
        return;
    }
    SkinnedWindow::keyPressEvent(event);
}

// "ОК": the window goes first, so that the main window's change rules run with no message
// window in the way. Only a message that hid the main window brings it back emptied; a notice
// that left it visible must not wipe the user's input.
void MessageWindow::OnCommand2Click() {
    const bool hid = hid_main_window_;
    ReleaseForm2();
    MainWindowLink* main = GetMainWindowLink();
    if (!hid || !main) return;
    main->ShowMainWindow();
    main->ClearAfterMessage();
}

void ShowMessage(const QString& text, MainWindowWhileShown main, bool centred) {
    if (main == MainWindowWhileShown::Hidden) {
        if (MainWindowLink* link = GetMainWindowLink()) link->HideMainWindow();
    }
    MessageWindow& window = Form2();
    if (main == MainWindowWhileShown::Hidden) window.NoteHidMainWindow();
    ShowOverMainWindow(&window);
    window.Command2()->setFocus();
    window.Label1()->setText(text);
    if (centred) window.Label1()->setAlignment(Qt::AlignCenter);
}

MessageWindow& Form2() { return Instance().Get(); }
bool Form2Exists() { return Instance().Exists(); }
void ReleaseForm2() { Instance().Release(); }

}  // namespace kelvo::shell
