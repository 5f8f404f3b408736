// The help page's words, as the window's help picture draws them and the web page writes them.
#pragma once

namespace kelvo::help {

inline constexpr const char* kSubtitle = "Выбор сечения проводника и защиты линии";
inline constexpr const char* kLicenceHeading = "Лицензия";
inline constexpr const char* kLicence =
    "Программа распространяется бесплатно. Её можно свободно устанавливать, запускать и передавать "
    "другим лицам без изменений, в том числе для работы в организациях. Продажа программы запрещена.\n\n"
    "Программа предоставляется «как есть», без каких-либо гарантий. Результаты расчета ориентировочные и "
    "носят рекомендательный характер; автор не отвечает за последствия их применения. В каждом конкретном "
    "случае обращайтесь к специалистам.";
inline constexpr const char* kScheduleHeading = "Кабельный журнал";
inline constexpr const char* kSchedule =
    "Файл CSV, XLSX или ODS перетащите на окно программы или откройте клавишами Ctrl+O: каждая строка "
    "рассчитывается, как в окне, результат сохраняется кнопкой «Сохранить». Из командной строки — kelvo-calc "
    "(справка: kelvo-calc --help).";
// The rule of the disconnection check.
inline constexpr const char* kDisconnection =
    "Проверка отключения при КЗ (меню «Расчеты»): Iк = U0 / (Zвх + L·z0) ≥ Iа = m·Iн, m = 5, 10, 20 для B, C, D; "
    "r0 = 1,2·ρ20·(1/S + 1/Sпе), x0 = 0,15 Ом/км.";
// The rule of the laying conditions.
inline constexpr const char* kConditions =
    "Условия прокладки (меню «Расчеты»): Iдоп' = Kt·Kn·Iдоп; Kt по температуре среды (таблицы: воздух "
    "+25\u00A0°C, земля +15\u00A0°C, проводник +65\u00A0°C), Kn по числу кабелей рядом в земле и расстоянию "
    "между ними.";
inline constexpr const char* kMailCaption = "Вопросы и пожелания присылайте по адресу:";
inline constexpr const char* kSiteCaption = "Новые версии программы на сайте:";
inline constexpr const char* kSiteHost = "kelvo.example";
inline constexpr const char* kSupportMail = "support@kelvo.example";

}  // namespace kelvo::help
