// The program's file dialogs: the toolkit's own dialog with every text in Russian whatever the
// system's language (a folder's type "Папка", sizes "12 байт", "2,0 КБ", dates as a Russian locale
// writes them, which the toolkit takes from the system's locale and its catalogue leaves in
// English), and its columns wide enough for their texts.
#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace kelvo::shell {

// The file to open, or empty when the user cancels.
QString AskFileToOpen(QWidget* parent, const QString& title, const QString& filter);
// The file to save to, starting at `suggested`, under the filter `selected` (which the user may
// change); empty when the user cancels. The dialog asks nothing about a file that is there.
QString AskFileToSave(QWidget* parent, const QString& title, const QString& suggested, const QStringList& filters,
                      QString* selected);
// Makes `dialog` as these functions show it.
void PrepareFileDialog(QFileDialog& dialog);

}  // namespace kelvo::shell
