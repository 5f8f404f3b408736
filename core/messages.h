// The messages the program shows, exactly as the user reads them. The window and kelvo-calc
// take them from here, so that the two can never word a fault differently.
#pragma once

#include <string>
#include <string_view>

namespace kelvo::messages {

inline constexpr const char* kDecimalComma =
    "десятичные вводятся через запятую, пример 2,5 или не установлена мощность / ток";
inline constexpr const char* kNoPowerSupply = "Неустановлена мощность";
inline constexpr const char* kNoCurrent = "Неустановлен ток";
inline constexpr const char* kChooseConductorKind = "Установите переключатель провод или кабель";
inline constexpr const char* kNoLength = "Установите длину в метрах";
inline constexpr const char* kChooseSection = "Установите сечение";
inline constexpr const char* kTooLarge = "[Error] Слишком большая мощность или длина.";
inline constexpr const char* kNoCurrentForSection = "Ток на такое сечение не установлен. Уменьшите сечение";
inline constexpr const char* kNoConnection =
    "Текущее соединение с интернетом отсутствует! Подключитесь к сети и повторите попытку";
inline constexpr const char* kExceedByLoss =
    "[Выбор Error -превышение] Сечение проводника на эту нагрузку в ПУЭ отсутствует. Попробуйте "
    "изменить выбор провода/кабеля или пропустить в параллель 2,3,..n проводов/кабелей ";

// A message that names a text the user gave (or a figure worked out from it): the text stands
// between two fixed parts. Written over a string that is reused, the message keeps that string's
// room, so that a schedule's rows with messages allocate nothing.
struct NamingMessage {
    std::string_view before;
    std::string_view after;

    // `named` must not lie inside `out`.
    void WriteTo(std::string& out, std::string_view named) const {
        out.assign(before);
        out += named;
        out += after;
    }
    std::string For(std::string_view named) const {
        std::string text;
        WriteTo(text, named);
        return text;
    }
};

// The recommended section and what decided it.
inline std::string Recommendation(bool by_voltage_loss, std::string_view section) {
    std::string text =
        by_voltage_loss ? "Выбрать по потерям напряжения сечение " : "Выбрать по длительному току сечение ";
    text += section;
    text += " мм.кв";
    return text;
}

// The exceed message for a load given by its power, which the message names.
inline constexpr NamingMessage kExceedByPower{
    "[Выбор Error -превышение] Сечение проводника на нагрузку ",
    " кВт в ПУЭ отсутствует. Попробуйте изменить выбор провода/кабеля или пропустить "
    "в параллель 2,3,..n проводов/кабелей "};
inline std::string ExceedByPower(std::string_view power) { return kExceedByPower.For(power); }

// The warning under the results, in the window and on the reference tables: two sentences,
// each on a line of its own.
inline constexpr const char* kWarningFirst =
    "Внимание !  Результаты расчета ориентировочные и носят рекомендательный характер.";
inline constexpr const char* kWarningSecond = "В каждом конкретном случае обращайтесь к специалистам.";

// What kelvo-calc says where the window says nothing (the window ends silently, or shows an
// empty panel), and about the schedule's own cells and rows.
inline constexpr const char* kCannotCalculate =
    "Расчет невозможен: напряжение, потери или коэффициенты равны нулю либо результат слишком велик";
inline constexpr const char* kSectionNotInTable =
    "Для этого сечения нет строки в таблице допустимых токов выбранной прокладки";
inline constexpr const char* kIncompleteConductor =
    "Прокладка не соответствует проводнику: для провода p1–p6, для кабеля k1–k9";
inline constexpr const char* kNegativeLoad = "Нагрузка не может быть отрицательной";
inline constexpr const char* kLossSectionBeyondTables =
    "Требуемое по потерям напряжения сечение больше любого сечения таблиц";
inline constexpr const char* kVoltageNotPositive = "Напряжение должно быть больше нуля";
inline constexpr const char* kLengthNotPositive = "Длина линии должна быть больше нуля";
inline constexpr const char* kLossNotPositive = "Допустимые потери напряжения должны быть больше нуля";
inline constexpr const char* kNotUtf8 = "Строка не в кодировке UTF-8";
inline constexpr const char* kPowerAndCurrent = "Укажите либо мощность, либо ток, а не оба значения";
inline constexpr const char* kTooLongRow = "Строка длиннее 1 МиБ, перенесена без расчета";
inline constexpr const char* kSurplusFields =
    "В строке больше полей, чем столбцов в заголовке: лишние поля перенесены за столбцы результата";

// A row with more surplus fields than are carried: the first field not carried is named.
inline constexpr NamingMessage kSurplusFieldsCut{"В строке больше 1 024 полей за столбцами заголовка: начиная с ",
                                                 " они не перенесены"};
// A schedule whose calculation ran out of memory (kelvo-calc, the schedule window, the web page).
inline constexpr const char* kOutOfMemory = "не хватило памяти: файл требует больше, чем есть у этой машины";

// A spreadsheet whose rows make more text than is carried, followed by the row's number.
inline constexpr const char* kSheetTextTooMuch =
    "в строках файла больше 256 МиБ текста ячеек (повторы строк и ячеек считаются каждый); столько не "
    "переносится; предел пройден в строке ";

// The laying conditions' figures (core/laying_conditions.h).
inline constexpr const char* kAmbientAboveTable =
    "Температура среды выше +50 °C: в таблице поправочных коэффициентов ее нет";
inline constexpr NamingMessage kAmbientNotNumber{"Температура среды «",
                                                 "» не число: введите градусы Цельсия, например 40"};
inline constexpr NamingMessage kCablesNotCount{"Число кабелей рядом «", "» не целое число от 1 до 6"};
inline constexpr const char* kCablesAboveTable =
    "Кабелей рядом больше 6: в таблице поправочных коэффициентов таких нет";
inline constexpr const char* kCablesInAir =
    "Число кабелей рядом учитывается только при прокладке в земле (k3, k5, k7, k9): для прокладки в воздухе его "
    "поправки нет";
inline constexpr NamingMessage kDistanceNotNumber{"Расстояние между кабелями «",
                                                  "» не число: введите миллиметры, например 100"};
inline constexpr const char* kDistanceBelowTable =
    "Расстояние между кабелями меньше 100 мм: в таблице поправочных коэффициентов его нет";

// What kelvo-calc says about a schedule's cell it cannot read, naming the cell's text in «».
inline constexpr NamingMessage kMissingColumn{"В таблице нет столбца «", "»"};
// The disconnection check's verdict, as kelvo-calc writes it and the window shows it.
inline constexpr const char* kDisconnectionEnsured = "обеспечено";
inline constexpr const char* kDisconnectionNotEnsured = "не обеспечено";
inline constexpr const char* kDisconnectionNotCheckedDc = "не проверяется: постоянный ток";
inline constexpr const char* kDisconnectionNoBreakerOrSection = "не проверяется: нет автомата или сечения";
// The disconnection check's own inputs.
inline constexpr NamingMessage kBadUpstreamImpedance{
    "Сопротивление петли «", "» не число: введите сопротивление в омах с десятичной запятой, например 0,3"};
inline constexpr NamingMessage kUnknownCharacteristic{"Неизвестная характеристика автомата «", "»: нужна B, C или D"};
inline constexpr NamingMessage kBadPeSection{"Сечение PE «",
                                             "» не число больше нуля: введите сечение в мм², например 2,5"};
// A workbook's cell the calculation reads, shown as something else than a number or a code.
inline constexpr NamingMessage kCellFormula{
    "В ячейке ", " формула без вычисленного значения: откройте книгу в табличной программе и сохраните ее"};
inline constexpr NamingMessage kCellError{"В ячейке ", " ошибка вместо значения: исправьте ее в книге"};
inline constexpr NamingMessage kCellMergedAcross{
    "Ячейка ", " входит в объединение нескольких столбцов: ее значение не прочитать, разъедините ячейки в книге"};
inline constexpr NamingMessage kCellPercent{"В ячейке ", " число в процентах: здесь нужно число без знака %"};
inline constexpr NamingMessage kCellDate{
    "В ячейке ", " дата или время вместо числа: введите число с десятичной запятой, например 2,5"};
inline constexpr NamingMessage kUnknownKind{"Неизвестный вид расчета «", "»: нужен «прямой» или «обратный»"};
inline constexpr NamingMessage kUnknownSupply{"Неизвестный род тока «", "»: нужен «1ф», «3ф» или «постоянный»"};
inline constexpr NamingMessage kUnknownMaterial{"Неизвестный материал «", "»: нужна «медь» или «алюминий»"};
inline constexpr NamingMessage kUnknownConductor{"Неизвестный проводник «", "»: нужен «провод» или «кабель»"};
inline constexpr NamingMessage kUnknownLaying{"Неизвестная прокладка «", "»: для провода p1–p6, для кабеля k1–k9"};

// A multiplicity that is not offered, and the ones that are; written over `out` like the above.
template <class Offered>
void WriteUnknownMultiplicity(std::string& out, std::string_view text, const Offered& offered) {
    NamingMessage{"Кратность «", "» не из списка:"}.WriteTo(out, text);
    for (const std::string_view value : offered) (out += ' ') += value;
}

}  // namespace kelvo::messages
