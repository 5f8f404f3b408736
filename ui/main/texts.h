// The main window's fixed texts, exactly as the user reads them.
#pragma once

#include <QString>

namespace kelvo::mainwindow::texts {

inline const QString kDecimalComma = QStringLiteral(
    "десятичные вводятся через запятую, пример 2,5 или не установлена мощность / ток");
inline const QString kNoPowerSupply = QStringLiteral("Неустановлена мощность");
inline const QString kNoCurrent = QStringLiteral("Неустановлен ток");
inline const QString kChooseConductorKind = QStringLiteral("Установите переключатель провод или кабель");
inline const QString kNoLength = QStringLiteral("Установите длину в метрах");
inline const QString kChooseSection = QStringLiteral("Установите сечение");
inline const QString kTooLarge = QStringLiteral("[Error] Слишком большая мощность или длина.");
inline const QString kExceedByLoss = QStringLiteral(
    "[Выбор Error -превышение] Сечение проводника на эту нагрузку в ПУЭ отсутствует. Попробуйте "
    "изменить выбор провода/кабеля или пропустить в параллель 2,3,..n проводов/кабелей ");
inline QString ExceedByPower(const QString& power) {
    return QStringLiteral("[Выбор Error -превышение] Сечение проводника на нагрузку ") + power +
           QStringLiteral(" кВт в ПУЭ отсутствует. Попробуйте изменить выбор провода/кабеля или "
                          "пропустить в параллель 2,3,..n проводов/кабелей ");
}

inline const QString kForwardCalculation =
    QStringLiteral("Расчет сечения по заданной мощности или току, защита");
inline const QString kReverseCalculation =
    QStringLiteral("Расчет max тока и мощности по сечению и выбор защиты");
inline const QString kForwardTitle =
    QStringLiteral("Расчет сечения по заданным значениям мощности и тока");
inline const QString kReverseTitle =
    QStringLiteral("Расчет тока и мощности по сечению и выбор защиты");

inline const QString kWarning = QStringLiteral(
    "Внимание !  Результаты расчета ориентировочные и носят рекомендательный характер.             "
    "В каждом конкретном случае обращайтесь к специалистам.");

}  // namespace kelvo::mainwindow::texts
