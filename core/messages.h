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
inline constexpr const char* kNoCurrentForSection =
    "Ток на такое сечение не установлен. Уменьшите сечение";
inline constexpr const char* kNoConnection =
    "Текущее соединение с интернетом отсутствует! Подключитесь к сети и повторите попытку";
inline constexpr const char* kExceedByLoss =
    "[Выбор Error -превышение] Сечение проводника на эту нагрузку в ПУЭ отсутствует. Попробуйте "
    "изменить выбор провода/кабеля или пропустить в параллель 2,3,..n проводов/кабелей ";

// The same for a load given by its power, which the message names.
// The recommended section and what decided it.
inline std::string Recommendation(bool by_voltage_loss, std::string_view section) {
    std::string text = by_voltage_loss ? "Выбрать по потерям напряжения сечение " : "Выбрать по длительному току сечение ";
    text += section;
    text += " мм.кв";
    return text;
}

// The exceed message for a power begins so, whatever the power it names.
inline constexpr const char* kExceedByPowerStart = "[Выбор Error -превышение] Сечение проводника на нагрузку ";
inline std::string ExceedByPower(std::string_view power) {
    std::string message = kExceedByPowerStart;
    message += power;
    message += " кВт в ПУЭ отсутствует. Попробуйте изменить выбор провода/кабеля или пропустить "
               "в параллель 2,3,..n проводов/кабелей ";
    return message;
}

}  // namespace kelvo::messages
