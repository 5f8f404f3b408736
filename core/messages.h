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

// The same for a load given by its power, which the message names.
// The recommended section and what decided it.
inline std::string Recommendation(bool by_voltage_loss, std::string_view section) {
    std::string text =
        by_voltage_loss ? "Выбрать по потерям напряжения сечение " : "Выбрать по длительному току сечение ";
    text += section;
    text += " мм.кв";
    return text;
}

// The exceed message for a power begins so, whatever the power it names.
inline constexpr const char* kExceedByPowerStart = "[Выбор Error -превышение] Сечение проводника на нагрузку ";
inline std::string ExceedByPower(std::string_view power) {
    std::string message = kExceedByPowerStart;
    message += power;
    message +=
        " кВт в ПУЭ отсутствует. Попробуйте изменить выбор провода/кабеля или пропустить "
        "в параллель 2,3,..n проводов/кабелей ";
    return message;
}

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

// «text» in the quotation marks of the messages.
inline std::string Quoted(std::string_view text) {
    std::string quoted = "«";
    quoted += text;
    quoted += "»";
    return quoted;
}
inline std::string MissingColumn(std::string_view column) { return "В таблице нет столбца " + Quoted(column); }
inline std::string UnknownKind(std::string_view text) {
    return "Неизвестный вид расчета " + Quoted(text) + ": нужен «прямой» или «обратный»";
}
inline std::string UnknownSupply(std::string_view text) {
    return "Неизвестный род тока " + Quoted(text) + ": нужен «1ф», «3ф» или «постоянный»";
}
inline std::string UnknownMaterial(std::string_view text) {
    return "Неизвестный материал " + Quoted(text) + ": нужна «медь» или «алюминий»";
}
inline std::string UnknownConductor(std::string_view text) {
    return "Неизвестный проводник " + Quoted(text) + ": нужен «провод» или «кабель»";
}
template <class Offered>
std::string UnknownMultiplicity(std::string_view text, const Offered& offered) {
    std::string message = "Кратность " + Quoted(text) + " не из списка:";
    for (const std::string_view value : offered) (message += ' ') += value;
    return message;
}
inline std::string UnknownLaying(std::string_view text) {
    return "Неизвестная прокладка " + Quoted(text) + ": для провода p1–p6, для кабеля k1–k9";
}

}  // namespace kelvo::messages
