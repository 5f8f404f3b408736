// The message window: one notice or error text with "ОК".
#pragma once

#include <QPushButton>
#include <array>

#include "ui/shell/skinned_window.h"

class QFrame;

namespace kelvo::shell {

class MessageWindow : public SkinnedWindow {
    Q_OBJECT
public:
    MessageWindow();

    QLabel* Label1() const { return label1_; }
    QPushButton* Command2() const { return command2_; }
    QFrame* Line(int number) const { return lines_.at(static_cast<std::size_t>(number - 1)); }

    // Whether a message shown in this window hid the main window (then "ОК" restores and
    // empties it).
    bool HidMainWindow() const { return hid_main_window_; }
    void NoteHidMainWindow() { hid_main_window_ = true; }

protected:
    void OnClosePressed() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnCommand2Click();

    QLabel* label1_;
    std::array<QFrame*, 4> lines_{};
    QPushButton* command2_;
    bool hid_main_window_ = false;
};

enum class MainWindowWhileShown { Visible, Hidden };

// Shows a message: hides the main window if asked, shows the message window (creating it if
// there is none) and writes the text; a later message replaces the text of an earlier one.
void ShowMessage(const QString& text, MainWindowWhileShown main, bool centred = false);

// The single message window, created on first reference; nullptr-free.
MessageWindow& Form2();
bool Form2Exists();
// Hides the message window and drops it; the next reference creates a fresh one.
void ReleaseForm2();

}  // namespace kelvo::shell
