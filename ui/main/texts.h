// The main window's fixed texts, exactly as the user reads them.
#pragma once

#include <QString>

#include "core/hints.h"
#include "core/messages.h"
#include "ui/shell/qtext.h"

namespace kelvo::mainwindow::texts {

using shell::Q;

inline const QString kDecimalComma = Q(messages::kDecimalComma);
inline const QString kNoPowerSupply = Q(messages::kNoPowerSupply);
inline const QString kNoCurrent = Q(messages::kNoCurrent);
inline const QString kChooseConductorKind = Q(messages::kChooseConductorKind);
inline const QString kNoLength = Q(messages::kNoLength);
inline const QString kChooseSection = Q(messages::kChooseSection);
inline const QString kTooLarge = Q(messages::kTooLarge);
inline const QString kExceedByLoss = Q(messages::kExceedByLoss);
inline const QString kNoConnection = Q(messages::kNoConnection);
inline QString Recommendation(bool by_voltage_loss, const QString& section) {
    return Q(messages::Recommendation(by_voltage_loss, shell::S(section)));
}
inline QString ExceedByPower(const QString& power) { return Q(messages::ExceedByPower(shell::S(power))); }

inline const QString kForwardCalculation = QStringLiteral("Расчет сечения по заданной мощности или току, защита");
inline const QString kReverseCalculation = QStringLiteral("Расчет max тока и мощности по сечению и выбор защиты");
inline const QString kForwardTitle = QStringLiteral("Расчет сечения по заданным значениям мощности и тока");
inline const QString kReverseTitle = QStringLiteral("Расчет тока и мощности по сечению и выбор защиты");

// The warning under the panels.
inline const QString kWarningFirst = Q(messages::kWarningFirst);
inline const QString kWarningSecond = Q(messages::kWarningSecond);

// The hint line's texts, by control name.
using hints::Hint;
using hints::kHints;

}  // namespace kelvo::mainwindow::texts
