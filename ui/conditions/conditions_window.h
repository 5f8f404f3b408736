// "Условия прокладки": a small window of the program's look in which the ambient temperature,
// the number of cables side by side in the ground and their distance are typed; it shows the
// factors Kt, Kn and K = Kt × Kn (core/laying_conditions.h) for the main window's laying, and the
// corrected permissible current of the recommended section. The main window's calculations use K
// while it is not 1. The program keeps no settings: a new start begins at the defaults.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "core/conductor.h"
#include "core/laying_conditions.h"
#include "ui/shell/skinned_window.h"

namespace kelvo::conditions {

class ConditionsWindow : public shell::SkinnedWindow {
    Q_OBJECT
public:
    ConditionsWindow();

    // The conditions as typed (views into the window's own texts).
    LayingConditions Typed() const;
    // The main window's conductor and the section it recommends (empty when none).
    void SetLine(const ConductorChoice& conductor, const QString& recommended);
    // Back to the tables' own conditions.
    void Reset();

    QLineEdit* Ambient() const { return ambient_; }
    QLineEdit* Cables() const { return cables_; }
    QLineEdit* Distance() const { return distance_; }
    QLabel* Factors() const { return factors_; }
    QLabel* CorrectedCurrent() const { return corrected_; }
    QPushButton* Defaults() const { return defaults_; }

signals:
    // The conditions typed changed: the main window calculates again.
    void changed();

protected:
    void OnClosePressed() override;

private:
    void Show();

    QLineEdit *ambient_, *cables_, *distance_;
    QLabel *laying_, *factors_, *corrected_;
    QPushButton* defaults_;
    std::string ambient_text_, cables_text_, distance_text_;
    ConductorChoice conductor_;
    QString recommended_;
};

}  // namespace kelvo::conditions
