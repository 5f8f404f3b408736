// The main window's fixed texts, exactly as the user reads them.
#pragma once

#include <QString>

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

}  // namespace kelvo::mainwindow::texts

namespace kelvo::mainwindow::texts {

// The hint line: the text written when the pointer moves over a control, by the control's
// name. Double spaces are part of the texts.
struct Hint {
    const char* controls;  // space-separated control names
    const char* text;
};

// clang-format off
inline constexpr Hint kHints[] = {
    {"Frame5 Frame2 Frame22 Frame18 Frame16", ""},
    {"Option1", "Известна мощность нагрузки, необходимо узнать сечение проводника и действующую силу тока. Введите значение мощности в соответствующее окно ввода нижней части <Расчет>."},
    {"Option2", "Известна сила тока, необходимо узнать сечение проводника и предельно допустимую мощность нагрузки. Введите значение силы тока в соответствующее окно ввода нижней части <Расчет>."},
    {"Option3", "Расчет ведется для однофазной сети (1 фаза+0)."},
    {"Option4", "Расчет ведется для трехфазной 4-х проводной сети (3 фазы+0) при равномерной нагрузке фаз."},
    {"Option17", "Расчет ведется  для сети постоянного тока/напряжения."},
    {"Option5", "Проводник из меди."},
    {"Option6", "Проводник из алюминия."},
    {"p", "Провод - одна или несколько изолированных жил не объединенных общей оболочкой. Например такие как: ПуВ(ПВ-1), ПуГВ(ПВ-3), АПВ, ППВ, АППВ, ШВП, МГШВ, БПВЛ и др."},
    {"k", "Кабель - одна или несколько изолированных жил объединенных общей оболочкой. Например такие как: ВВГ, ПВС, NYM(NUM), АВВГ, КГ, ВБШв, АВБШв, ППГнгHF  и др."},
    {"Check7", "Проверка отключения автомата при однофазном КЗ в конце линии последнего расчета: ток КЗ, ток отключения, предельная длина."},
    {"Option16", "5-ти жильные в воздухе (НГ, НГ-LS) ВВГ и АВВГ. Выберите заданное сечение кв.мм"},
    {"Option18", "5-ти жильные в земле (НГ, НГ-LS) ВВГ и АВВГ. Выберите заданное сечение кв.мм"},
    {"txtL Label10", "Длина линии. Указывается, для учета потерь на длине проводника."},
    {"p1", "Прокладка проводом открыто. Выберите заданное сечение кв.мм"},
    {"p2", "Прокладка двух одножильных проводов закрыто (в трубе, коробах, пучками в лотке). Выберите заданное сечение кв.мм"},
    {"p3", "Прокладка трех одножильных проводов закрыто (в трубе, коробах, пучками в лотке). Выберите заданное сечение кв.мм"},
    {"p4", "Прокладка четырех одножильных проводов закрыто (в трубе, коробах, пучками в лотке). Выберите заданное сечение кв.мм"},
    {"p5", "Прокладка одного двухжильного провода закрыто (в трубе, коробах, пучками в лотке). Выберите заданное сечение кв.мм"},
    {"p6", "Прокладка одного трехжильного провода закрыто (в трубе, коробах, пучками в лотке). Выберите заданное сечение кв.мм"},
    {"k1", "Прокладка одножильного кабеля в воздухе, в коробах, пучками в лотках. Выберите заданное сечение кв.мм"},
    {"k2", "Прокладка двухжильного кабеля в воздухе, в коробах, пучками в лотках. Выберите заданное сечение кв.мм"},
    {"k4", "Прокладка трехжильного кабеля в воздухе, в коробах, пучками в лотках. Выберите заданное сечение кв.мм"},
    {"k6", "Прокладка четырехжильного кабеля в воздухе, в коробах, пучками в лотках. Выберите заданное сечение кв.мм"},
    {"k3", "Прокладка двухжильного кабеля в земле. Выберите заданное сечение кв.мм"},
    {"k5", "Прокладка трехжильного кабеля в земле. Выберите заданное сечение кв.мм"},
    {"k7", "Прокладка четырехжильного кабеля в земле. Выберите заданное сечение кв.мм"},
    {"Label15 Label14", "Установите допустимые потери напряжения от 4-х до 10%. При превышении указанного значения будет расчитываться поправка."},
    {"Label16", "Поле выбора напряжения сети, В."},
    {"Label53 Label51 Label48 Text14", "Отношение тока уставки электромагнитного расцепителя к соответствующему номинальному току или запас по току при соответствующей кратности."},
    {"txtP", "Поле ввода значения мощности, кВт."},
    {"Label5 txtI", "Поле ввода значения силы тока, А"},
    {"Frame11", "Результат выбора сечения по допустимому длительному  току, мм.кв"},
    {"Frame13", "Результат выбора сечения по потерям напряжения при заданной длине, мм.кв"},
};
// clang-format on

}  // namespace kelvo::mainwindow::texts
