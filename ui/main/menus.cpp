// The main window's menu bar and its drop-down panels, the hint line, the reference pictures
// and the links to the maker.
#include <QHash>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "core/voltage_loss.h"
#include "ui/main/main_window.h"
#include "ui/main/texts.h"
#include "ui/shell/connectivity.h"
#include "ui/shell/links.h"
#include "ui/shell/message_window.h"
#include "ui/shell/picture_viewer.h"
#include "ui/shell/qtext.h"
#include "ui/shell/skin.h"

namespace kelvo::mainwindow {

namespace colors = shell::colors;
using shell::pictures::Reference;

void MainWindow::WireMenus() {
    Label22->OnClick([this] { OnLabel22Click(); });
    Label44->OnClick([this] { OnLabel44Click(); });
    Label45->OnClick([this] { OnLabel45Click(); });
    Label46->OnClick([this] { OnLabel46Click(); });
    Check4->OnClick([this] { OnReferenceTableClick(Check4); });
    Check5->OnClick([this] { OnReferenceTableClick(Check5); });
    Check6->OnClick([this] { OnReferenceTableClick(Check6); });

    connect(Image3, &shell::PictureBox::clicked, this, [] { shell::OpenUrl(shell::SiteRootUrl()); });
    connect(Image4, &shell::PictureBox::clicked, this, [] { shell::OpenUrl(shell::SiteRootUrl()); });
    // The site label opens the address it shows, as a web address.
    Label19->OnClick([this] { shell::OpenUrl(shell::UrlFromSiteText(Label19->Caption())); });

    // Pointer movement over these controls reaches OnPointerOver, whichever control it is.
    QStringList names = {QStringLiteral("Label22"), QStringLiteral("Label44"), QStringLiteral("Label45"),
                         QStringLiteral("Label46"), QStringLiteral("Frame1"),  QStringLiteral("Frame3"),
                         QStringLiteral("Frame4"),  QStringLiteral("Frame14"), QStringLiteral("Text4")};
    for (const auto& hint : texts::kHints)
        names += QString::fromUtf8(hint.controls).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    // The controls by name, found in one walk over the window.
    QHash<QString, QWidget*> by_name;
    by_name.insert(objectName(), this);
    for (QWidget* child : findChildren<QWidget*>())
        if (!by_name.contains(child->objectName())) by_name.insert(child->objectName(), child);
    for (const QString& name : names) {
        QWidget* control = by_name.value(name);
        if (!control || hover_controls_.contains(control)) continue;
        control->setMouseTracking(true);
        control->installEventFilter(this);
        hover_controls_.insert(control);
    }
}

// A pointer movement belongs to the control under the pointer alone: it is consumed here, so
// that it does not travel on to the frames around the control (which have rules of their own).
// Movements with a button held (a drag, a text selection) go to the control untouched.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watching_panel_) ClosePanelOnLeave(event);
    if (event->type() == QEvent::MouseMove && hover_controls_.contains(watched) &&
        static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) {
        OnPointerOver(watched->objectName());
        return true;
    }
    return SkinnedWindow::eventFilter(watched, event);
}

// While a panel is open, the whole program's pointer and keys are watched: the panel closes when
// the pointer leaves it for anything but its own menu label, on a click anywhere else, and on
// Escape.
void MainWindow::WatchOpenPanel() {
    if (!watching_panel_) qApp->installEventFilter(this);
    watching_panel_ = true;
}

void MainWindow::ClosePanelOnLeave(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::KeyPress &&
        type != QEvent::ApplicationDeactivate)
        return;
    QWidget* panel = Frame15->isVisible() ? Frame15 : Frame21->isVisible() ? Frame21 : nullptr;
    if (!panel) {
        watching_panel_ = false;
        return qApp->removeEventFilter(this);
    }
    QWidget* label = panel == Frame15 ? static_cast<QWidget*>(Label22) : static_cast<QWidget*>(Label44);
    const auto inside = [&](QWidget* widget, const QPointF& global) {
        return widget->rect().contains(widget->mapFromGlobal(global.toPoint()));
    };
    bool close = false;
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress) {
        const QPointF global = static_cast<QMouseEvent*>(event)->globalPosition();
        close = !inside(panel, global) && !inside(label, global);
    } else if (event->type() == QEvent::KeyPress) {
        close = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    } else if (event->type() == QEvent::ApplicationDeactivate) {
        close = true;
    }
    if (!close) return;
    CloseMenus(true);
    watching_panel_ = false;
    qApp->removeEventFilter(this);
}

void MainWindow::OnLabel22Click() {
    Frame15->show();
    Frame15->raise();
    WatchOpenPanel();
    shell::SetBackground(Label22, colors::kMenuOpened);
    for (QWidget* w : std::initializer_list<QWidget*>{Frame15, Check2, Check3})
        shell::SetBackground(w, colors::kPanelOpened);
}

void MainWindow::OnLabel44Click() {
    Frame21->show();
    Frame21->raise();
    WatchOpenPanel();
    for (QWidget* w : std::initializer_list<QWidget*>{Frame21, Check4, Check5, Check6})
        shell::SetBackground(w, colors::kPanelOpened);
    shell::SetBackground(Label44, colors::kMenuOpened);
}

// The catalogue is on-line only: without a connection the user is told so instead.
void MainWindow::OnLabel45Click() {
    if (shell::InternetConnected())
        shell::OpenUrl(shell::CatalogueUrl());
    else
        shell::ShowMessage(texts::kNoConnection, shell::MainWindowWhileShown::Visible);
    Label45->SetBorderStyle(0);
}

void MainWindow::OnLabel46Click() {
    shell::OpenPicture(shell::HelpRequest());
    Label46->SetBorderStyle(0);
}

// A ticked table box opens its table; the panel then closes. Unticking shows nothing.
void MainWindow::OnReferenceTableClick(CheckBox* box) {
    if (!box->Value()) return;
    const Reference table = box == Check4   ? Reference::Power
                            : box == Check5 ? Reference::Breakers
                                            : Reference::WireCurrents;
    shell::OpenPicture(shell::TableRequest(table));
    for (CheckBox* other : {Check4, Check5, Check6})
        if (other != box) other->SetValue(false);
    // Closing the viewer unticks its entry, so that the next click opens the table again.
    connect(&shell::Form3(), &QObject::destroyed, box, [box] { box->SetValue(false); });
    Frame21->hide();
}

void MainWindow::CloseMenus(bool keep_link_borders) {
    Frame15->hide();
    shell::SetBackground(Label22, colors::kMenuBar);
    Label22->SetBorderStyle(0);
    Frame21->hide();
    shell::SetBackground(Label44, colors::kMenuBar);
    Label44->SetBorderStyle(0);
    if (keep_link_borders) return;
    Label45->SetBorderStyle(0);
    Label46->SetBorderStyle(0);
}

// Moving from one menu label to its neighbour closes the panel of the label that was left;
// the source-data frames close both panels. Hovering never opens a panel.
void MainWindow::OnPointerOver(const QString& control) {
    if (control == QLatin1String("Label22")) {
        Label22->SetBorderStyle(1);
        Label44->SetBorderStyle(0);
    } else if (control == QLatin1String("Label44")) {
        Label44->SetBorderStyle(1);
        Frame15->hide();
        shell::SetBackground(Label22, colors::kMenuBar);
        Label22->SetBorderStyle(0);
        Label45->SetBorderStyle(0);
    } else if (control == QLatin1String("Label45")) {
        Label45->SetBorderStyle(1);
        Frame21->hide();
        shell::SetBackground(Label44, colors::kMenuBar);
        Label44->SetBorderStyle(0);
        Label46->SetBorderStyle(0);
    } else if (control == QLatin1String("Label46")) {
        Label46->SetBorderStyle(1);
        Label45->SetBorderStyle(0);
    } else if (control == QLatin1String("Frame3") || control == QLatin1String("Frame4") ||
               control == QLatin1String("Frame14")) {
        CloseMenus(false);
    } else if (control == QLatin1String("Frame1")) {
        CloseMenus(true);
    } else if (control == QLatin1String("Frame5")) {
        Label2->SetCaption(QString());
        Frame15->hide();
    }

    if (control == QLatin1String("Text4")) {
        Label2->SetCaption(
            shell::Q(VoltageHint(shell::S(Combo2->Text()), shell::S(Combo1->Text()), shell::S(Text3->Text()))));
        return;
    }
    if (control == QLatin1String("Frame11") && CorrectionFactor()) {
        Label2->SetCaption(
            QStringLiteral("Сечение по допустимому длительному току с поправкой на условия прокладки "
                           "(меню «Расчеты», «Условия прокладки»): допустимый ток таблицы, умноженный "
                           "на K, не меньше тока нагрузки."));
        return;
    }
    for (const auto& hint : texts::kHints) {
        if (QString::fromUtf8(hint.controls).split(QLatin1Char(' ')).contains(control)) {
            Label2->SetCaption(QString::fromUtf8(hint.text));
            return;
        }
    }
}

}  // namespace kelvo::mainwindow
