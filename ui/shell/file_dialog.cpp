#include "ui/shell/file_dialog.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>

namespace kelvo::shell {
namespace {

// A size as a Russian reader writes it: "12 байт", "2,0 КБ", "1,5 МБ".
QString RussianSize(qint64 bytes) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    if (bytes < 1024) return QStringLiteral("%1 байт").arg(bytes);
    static const char* const kUnits[] = {"КБ", "МБ", "ГБ", "ТБ"};
    double size = static_cast<double>(bytes) / 1024;
    int unit = 0;
    for (; size >= 1024 && unit < 3; ++unit) size /= 1024;
    return russian.toString(size, 'f', 1) + QChar(' ') + QString::fromUtf8(kUnits[unit]);
}

// The dialog's file list with its size, type and date in Russian.
class RussianFileTexts : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files || role != Qt::DisplayRole || index.column() == 0) return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const bool folder = files->isDir(source);
        switch (index.column()) {
            case 1:
                return folder ? QString() : RussianSize(files->size(source));
            case 2:
                return folder ? QStringLiteral("Папка") : files->type(source);
            case 3:
                return QLocale(QLocale::Russian, QLocale::Russia)
                    .toString(files->lastModified(source), QLocale::ShortFormat);
            default:
                return QIdentityProxyModel::data(index, role);
        }
    }
};

int Ask(QFileDialog& dialog) {
    PrepareFileDialog(dialog);
    return dialog.exec();
}

}  // namespace

void PrepareFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new RussianFileTexts(&dialog));
    // The type and date columns as wide as their texts ("Документ CSV", not "Док…CSV").
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setMinimumSectionSize(header->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
        for (const int column : {1, 2, 3}) header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}

QString AskFileToOpen(QWidget* parent, const QString& title, const QString& filter) {
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return Ask(dialog) == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString AskFileToSave(QWidget* parent, const QString& title, const QString& suggested, const QStringList& filters,
                      QString* selected) {
    QFileDialog dialog(parent, title, suggested);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(filters);
    if (selected && !selected->isEmpty()) dialog.selectNameFilter(*selected);
    dialog.selectFile(suggested);
    if (Ask(dialog) != QDialog::Accepted) return {};
    if (selected) *selected = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
}

}  // namespace kelvo::shell
