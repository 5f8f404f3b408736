// "Проверка отключения при КЗ": a small window of its own over the main window's last
// calculation (its supply, voltage, material, section, length and breaker), with its own inputs
// (the breaker's characteristic, the upstream loop impedance, the protective conductor's
// section), showing the fault current at the line's end, the release's current, the verdict in
// words and colour, the longest line and the smallest section that disconnects, through the rule
// in core/disconnection.h. It shows the line of the last calculation that settled, and only that
// line, beside its own inputs: a new calculation replaces it, a message or a calculation under way
// empties it. A reverse calculation has no length: the window asks for one.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <optional>

#include "core/conductor.h"
#include "core/disconnection.h"
#include "ui/shell/skinned_window.h"

namespace kelvo::disconnection {

// What the main window's last calculation gives the check (texts as its boxes hold them).
struct LineSource {
    SupplyKind supply = SupplyKind::SinglePhase;
    Material material = Material::Copper;
    ConductorKind kind = ConductorKind::Wire;
    LayingMethod laying = LayingMethod::p1;
    QString voltage, section, length, breaker;
    bool reverse = false;  // from a section: the length is typed in the window
    friend bool operator==(const LineSource&, const LineSource&) = default;
};

class DisconnectionWindow : public shell::SkinnedWindow {
    Q_OBJECT
public:
    DisconnectionWindow();

    // The main window's last calculation, or nothing (none, or a message emptied it).
    void SetSource(const std::optional<LineSource>& source);

    QComboBox* Characteristic() const { return characteristic_; }
    QLineEdit* UpstreamImpedance() const { return upstream_; }
    QComboBox* PeSection() const { return pe_; }
    QLineEdit* Length() const { return length_; }
    QLabel* Line() const { return line_; }
    QLabel* FaultCurrent() const { return fault_current_; }
    QLabel* TripCurrent() const { return trip_current_; }
    QLabel* Verdict() const { return verdict_; }
    QLabel* LongestLine() const { return longest_; }
    QLabel* SmallestSection() const { return smallest_; }
    QLabel* Hint() const { return hint_; }

protected:
    void OnClosePressed() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* Value(const QString& accessible, int left, int top, int width);
    void Recalculate();
    void Empty();
    // Says why the check is not made, in the hint's colour.
    void Prompt(const QString& text);
    void ShowCheck(const DisconnectionTexts& check);

    QComboBox* characteristic_;
    QLineEdit* upstream_;
    QComboBox* pe_;
    QLineEdit* length_;
    QLabel *length_caption_, *line_, *fault_current_, *trip_current_, *verdict_, *longest_, *smallest_, *hint_;
    std::optional<LineSource> source_;
};

}  // namespace kelvo::disconnection
