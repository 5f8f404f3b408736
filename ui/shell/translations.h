// The toolkit's own texts in Russian: the file dialogs' "Папка", "Имя файла", "Отмена", the
// message boxes' "Да" and "Нет", the context menus of the text boxes. The translation comes with
// Debian's qt6-translations-l10n.
#pragma once

class QCoreApplication;

namespace kelvo::shell {

// Installs the toolkit's Russian translation into the application; false when it is not there.
bool InstallRussianTranslation(QCoreApplication& application);

}  // namespace kelvo::shell
