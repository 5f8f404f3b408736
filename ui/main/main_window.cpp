#include "ui/main/main_window.h"

#include <QFrame>
#include <QPalette>
#include <optional>

#include "core/line_calculation.h"
#include "core/load_current.h"
#include "core/number_text.h"
#include "core/permissible_current.h"
#include "core/protection.h"
#include "core/result_codes.h"
#include "core/voltage_loss.h"
#include "ui/main/texts.h"
#include "ui/shell/maker.h"
#include "ui/shell/message_window.h"
#include "ui/shell/pictures.h"
#include "ui/shell/qtext.h"
#include "ui/shell/skin.h"
#include "ui/shell/window_ops.h"

namespace kelvo::mainwindow {

using shell::MainWindowWhileShown;
using shell::PlaceTwips;
using shell::Q;
using shell::S;
using shell::ShowMessage;
namespace colors = shell::colors;

namespace {

template <class Widget>
Widget* Placed(Widget* widget, double left, double top, double width, double height) {
    PlaceTwips(widget, left, top, width, height);
    return widget;
}

// A caption that sizes itself to its text, at a design place.
Label* CaptionAt(QWidget* parent, const QString& name, const QString& text, double left, double top) {
    auto* label = new Label(parent, name, text);
    shell::MoveTwips(label, left, top);
    label->FitToCaption();
    return label;
}

OptionButton* Option(QWidget* parent, const QString& name, const QString& caption, double left,
                     double top, double width) {
    return Placed(new OptionButton(parent, name, caption), left, top, width, 255);
}

QFrame* Line(QWidget* parent, const QString& name, double left, double top, double width,
             double height) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(width > height ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    PlaceTwips(line, left, top, width, height);
    return line;
}

void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

void SetBaseColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, color);
    widget->setPalette(palette);
}

// A raised "2" beside "сечение мм ": square millimetres.
Label* SquareMark(QWidget* parent, const QString& name, double left, double top) {
    auto* mark = new Label(parent, name, QStringLiteral("2"));
    QFont font = shell::UiFont(6.75);
    font.setFamily(QStringLiteral("Liberation Serif"));
    mark->setFont(font);
    PlaceTwips(mark, left, top - 60, 150, 195);
    return mark;
}

// A failure inside "Рассчитать": a text that is not a number where one is needed (the user is
// told how to write numbers), or a result that cannot be computed.
struct TypeMismatch {};
struct SilentFailure {};

double NumberOf(const QString& text) {
    const auto value = ReadNumber(S(text));
    if (!value) throw TypeMismatch{};
    return *value;
}

// A value read once at the start of the click: nothing when it was never read (the step that
// reads it was skipped), which counts as zero, as an unread value does.
double NumberOf(const std::optional<QString>& copy) { return copy ? NumberOf(*copy) : 0.0; }

}  // namespace

MainWindow::MainWindow()
    : shell::SkinnedWindow(shell::maker::kCaption, shell::pictures::kMainWindowTitle, 40),
      frms_(*this) {
    setObjectName(QStringLiteral("Form1"));
    shell::SetBackground(this, colors::kBackground);
    Image2 = Placed(new PictureBox(this, QStringLiteral("Image2")), 120, 360, 11400, 1500);
    Image2->setPixmap(QPixmap::fromImage(shell::pictures::Banner()));
    Image2->setScaledContents(true);

    BuildSourceData();
    BuildFirstCalculation();
    BuildSecondCalculation();
    BuildInformationAndProtection();
    BuildMenus();
    // The menu labels and the links share one pointer, drawn once.
    const QCursor link_pointer = shell::pictures::LinkPointer();
    for (QWidget* link : std::initializer_list<QWidget*>{Label22, Label44, Label45, Label46, Image3, Image4, Label19})
        link->setCursor(link_pointer);

    Check1 = Placed(new CheckBox(this, QStringLiteral("Check1"), QStringLiteral("Всегда сверху")),
                    240, 8400, 1455, 255);
    Label17 = Placed(new Label(this, QStringLiteral("Label17"),
                               texts::kWarningFirst + QLatin1Char('\n') + texts::kWarningSecond),
                     2280, 8520, 8295, 495);
    Label17->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label17->setFont(shell::UiFont(8, true));
    SetTextColor(Label17, QColor(128, 0, 0));

    Timer1 = new Timer(this, QStringLiteral("Timer1"), 500);
    Timer3 = new Timer(this, QStringLiteral("Timer3"), 100);

    StackFrame();
    ResizeTwips(11640, 8895);
    Wire();
    shell::SetMainWindowLink(this);
    Load();
}

MainWindow::~MainWindow() {
    if (shell::GetMainWindowLink() == this) shell::SetMainWindowLink(nullptr);
}

void MainWindow::BuildMenus() {
    Frame14 = Placed(new QFrame(this), 40, 1920, 11655, 400);
    Frame14->setObjectName(QStringLiteral("Frame14"));
    Label43 = Placed(new Label(Frame14, QStringLiteral("Label43"), QString()), 0, 0, 11655, 80);
    Line(Frame14, QStringLiteral("Line7"), 0, 390, 11655, 15);
    Label22 = Placed(new Label(Frame14, QStringLiteral("Label22"), QStringLiteral("Расчеты")), 120, 120, 855, 255);
    Label44 = Placed(new Label(Frame14, QStringLiteral("Label44"), QStringLiteral("Таблицы ")), 1040, 120, 855, 255);
    Label45 = Placed(new Label(Frame14, QStringLiteral("Label45"), QStringLiteral("Каталог кабеля (on-line)")), 1920, 120, 1935, 255);
    Label46 = Placed(new Label(Frame14, QStringLiteral("Label46"), QStringLiteral("Справка ")), 3840, 120, 855, 255);
    for (Label* label : {Label22, Label44, Label45, Label46}) label->setAlignment(Qt::AlignCenter);

    Frame15 = Placed(new Frame(this, QStringLiteral("Frame15"), QString()), 240, 2280, 5055, 975);
    Check2 = Placed(new CheckBox(Frame15, QStringLiteral("Check2"), texts::kForwardCalculation), 120, 240, 4815, 255);
    Check3 = Placed(new CheckBox(Frame15, QStringLiteral("Check3"), texts::kReverseCalculation), 120, 600, 4815, 255);

    Frame21 = Placed(new Frame(this, QStringLiteral("Frame21"), QString()), 120, 0, 4695, 1335);
    Check4 = Placed(new CheckBox(Frame21, QStringLiteral("Check4"), QStringLiteral("Таблица мощности, тока и сечения")), 120, 240, 4455, 255);
    Check5 = Placed(new CheckBox(Frame21, QStringLiteral("Check5"), QStringLiteral("Таблица сответствия сечения току автомата защиты")), 120, 600, 4455, 255);
    Check6 = Placed(new CheckBox(Frame21, QStringLiteral("Check6"), QStringLiteral("Таблица токовой нагрузки на провода и шнуры")), 120, 960, 4455, 255);

    Label24 = Placed(new Label(this, QStringLiteral("Label24"), texts::kForwardTitle), 2760, 2520, 5415, 255);
    Label24->setFont(shell::UiFont(8.25, true));
    Label24->setAlignment(Qt::AlignCenter);
}

void MainWindow::BuildSourceData() {
    Frame5 = Placed(new Frame(this, QStringLiteral("Frame5"), QStringLiteral("Исходные данные")), 120, 2880, 11415, 2895);

    Frame3 = Placed(new Frame(Frame5, QStringLiteral("Frame3"), QStringLiteral("известно")), 120, 240, 1695, 1815);
    Option1 = Option(Frame3, QStringLiteral("Option1"), QStringLiteral("мощность, кВт"), 120, 240, 1500);
    Option2 = Option(Frame3, QStringLiteral("Option2"), QStringLiteral("ток, А"), 120, 720, 1500);

    Frame17 = Placed(new Frame(Frame5, QStringLiteral("Frame17"), QStringLiteral("известно")), 120, 240, 1695, 1815);
    Label30 = CaptionAt(Frame17, QStringLiteral("Label30"), QStringLiteral("сечение мм "), 360, 360);
    Label29 = SquareMark(Frame17, QStringLiteral("Label29"), 1320, 360);
    Combo3 = Placed(new ComboBox(Frame17, QStringLiteral("Combo3")), 240, 720, 1215, 315);

    Frame1 = Placed(new Frame(Frame5, QStringLiteral("Frame1"), QStringLiteral("род тока")), 1920, 240, 1695, 1815);
    Option3 = Option(Frame1, QStringLiteral("Option3"), QStringLiteral("1ф"), 120, 240, 585);
    Option4 = Option(Frame1, QStringLiteral("Option4"), QStringLiteral("3ф"), 120, 720, 585);
    Option17 = Option(Frame1, QStringLiteral("Option17"), QStringLiteral("постоянный"), 120, 1200, 1455);
    Combo2 = Placed(new ComboBox(Frame1, QStringLiteral("Combo2")), 720, 240, 735, 315);
    Label33 = CaptionAt(Frame1, QStringLiteral("Label33"), QStringLiteral("В"), 1500, 270);

    Frame4 = Placed(new Frame(Frame5, QStringLiteral("Frame4"), QStringLiteral("проводник")), 3720, 240, 1095, 1815);
    p = Option(Frame4, QStringLiteral("p"), QStringLiteral("провод"), 120, 240, 915);
    k = Option(Frame4, QStringLiteral("k"), QStringLiteral("кабель"), 120, 720, 915);

    Frame9 = Placed(new Frame(Frame5, QStringLiteral("Frame9"), QStringLiteral("тип")), 4920, 240, 1335, 1815);
    Option5 = Option(Frame9, QStringLiteral("Option5"), QStringLiteral("медь "), 120, 240, 1155);
    Option6 = Option(Frame9, QStringLiteral("Option6"), QStringLiteral("алюминий"), 120, 720, 1155);

    Frame7 = Placed(new Frame(Frame5, QStringLiteral("Frame7"), QStringLiteral("поправка")), 6360, 240, 1695, 1815);
    txtL = Placed(new TextBox(Frame7, QStringLiteral("txtL")), 120, 240, 615, 285);
    txtL->setText(QStringLiteral("1"));
    Label10 = CaptionAt(Frame7, QStringLiteral("Label10"), QStringLiteral("длина, м"), 840, 270);
    Combo1 = Placed(new ComboBox(Frame7, QStringLiteral("Combo1")), 120, 720, 615, 315);
    for (int percent = 4; percent <= 10; ++percent) Combo1->AddItem(QString::number(percent));
    Combo1->setEditText(QStringLiteral("4"));
    Label14 = Placed(new Label(Frame7, QStringLiteral("Label14"), QStringLiteral("потери напряже- ния в %")), 840, 480, 735, 615);
    Label14->setWordWrap(true);
    Label14->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Text4 = Placed(new TextBox(Frame7, QStringLiteral("Text4")), 120, 1200, 615, 285);
    Text4->setReadOnly(true);
    Label18 = Placed(new Label(Frame7, QStringLiteral("Label18"), QStringLiteral("потери напряже- ния в В")), 840, 1080, 735, 615);
    Label18->setWordWrap(true);
    Label18->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Frame10 = Placed(new Frame(Frame5, QStringLiteral("Frame10"), QStringLiteral("прокладка проводом")), 8160, 240, 3135, 2535);
    const QString wire_captions[] = {QStringLiteral("открыто"), QStringLiteral("закрыто*2х одножильных"),
                                     QStringLiteral("закрыто*3х одножильных "), QStringLiteral("закрыто*4х одножильных"),
                                     QStringLiteral("закрыто*один 2х жильный"), QStringLiteral("закрыто*один 3х жильный")};
    for (int i = 0; i < 6; ++i)
        wire_laying[static_cast<std::size_t>(i)] =
            Option(Frame10, QStringLiteral("p%1").arg(i + 1), wire_captions[i], 120, 240 + 300 * i, 2895);
    std::tie(p1, p2, p3, p4, p5, p6) = std::tuple(wire_laying[0], wire_laying[1], wire_laying[2],
                                                  wire_laying[3], wire_laying[4], wire_laying[5]);
    Line(Frame10, QStringLiteral("Line1"), 120, 2070, 2895, 30);
    Label11 = Placed(new Label(Frame10, QStringLiteral("Label11"), QStringLiteral("* закрыто - в трубе или в коробах или в лотке пучками")), 120, 2100, 2895, 375);
    Label11->setWordWrap(true);
    Label11->setFont(shell::UiFont(7));

    Frame6 = Placed(new Frame(Frame5, QStringLiteral("Frame6"), QStringLiteral("прокладка кабелем")), 8160, 240, 3135, 2535);
    Label12 = CaptionAt(Frame6, QStringLiteral("Label12"), QStringLiteral("в воздухе"), 240, 270);
    Label13 = CaptionAt(Frame6, QStringLiteral("Label13"), QStringLiteral("в земле"), 1800, 270);
    Line(Frame6, QStringLiteral("Line2"), 120, 540, 2895, 30);
    Line(Frame6, QStringLiteral("Line3"), 1560, 240, 30, 2175);
    // Left column in air, right column in ground, level with their left neighbours.
    struct Cable {
        const char* name;
        const char* caption;
        double left, top;
    };
    const Cable cables[] = {{"k1", "1 жильный", 120, 660},        {"k2", "2 жильный", 120, 1020},
                            {"k3", "2 жильный", 1680, 1020},      {"k4", "3 жильный", 120, 1380},
                            {"k5", "3 жильный", 1680, 1380},      {"k6", "4 жильный", 120, 1740},
                            {"k7", "4 жильный", 1680, 1740},      {"Option16", "5 жильный", 120, 2100},
                            {"Option18", "5 жильный", 1680, 2100}};
    for (std::size_t i = 0; i < 9; ++i)
        cable_laying[i] = Option(Frame6, QString::fromUtf8(cables[i].name), QString::fromUtf8(cables[i].caption),
                                 cables[i].left, cables[i].top, 1335);
    std::tie(k1, k2, k3, k4, k5, k6, k7, Option16, Option18) =
        std::tuple(cable_laying[0], cable_laying[1], cable_laying[2], cable_laying[3], cable_laying[4],
                   cable_laying[5], cable_laying[6], cable_laying[7], cable_laying[8]);

    Label2 = Placed(new Label(Frame5, QStringLiteral("Label2"), QString()), 120, 2160, 7935, 615);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void MainWindow::BuildFirstCalculation() {
    Frame2 = Placed(new Frame(this, QStringLiteral("Frame2"), QStringLiteral("Расчет")), 120, 5880, 7095, 2415);
    Label7 = CaptionAt(Frame2, QStringLiteral("Label7"), QStringLiteral("мощн. кВт"), 120, 240);
    txtP = Placed(new TextBox(Frame2, QStringLiteral("txtP")), 120, 480, 735, 285);
    Label5 = CaptionAt(Frame2, QStringLiteral("Label5"), QStringLiteral("сила тока А"), 960, 240);
    txtI = Placed(new TextBox(Frame2, QStringLiteral("txtI")), 960, 480, 735, 285);
    Command2 = Placed(new CommandButton(Frame2, QStringLiteral("Command2"), QStringLiteral("Рассчитать")), 360, 960, 1215, 375);
    Command3 = Placed(new CommandButton(Frame2, QStringLiteral("Command3"), QStringLiteral("Сброс")), 360, 1440, 1215, 375);

    Frame16 = Placed(new Frame(Frame2, QStringLiteral("Frame16"), QStringLiteral("выбор сечения")), 1920, 240, 4935, 2055);
    Frame11 = Placed(new Frame(Frame16, QStringLiteral("Frame11"), QStringLiteral("по длительной нагрузке")), 120, 240, 2415, 1095);
    Label6 = CaptionAt(Frame11, QStringLiteral("Label6"), QStringLiteral("сечение мм "), 600, 240);
    Label1 = SquareMark(Frame11, QStringLiteral("Label1"), 600 + 840, 240);
    Text2 = Placed(new TextBox(Frame11, QStringLiteral("Text2")), 600, 480, 1095, 285);
    Label21 = Placed(new Label(Frame11, QStringLiteral("Label21"), QString()), 600, 840, 1095, 255);
    Frame13 = Placed(new Frame(Frame16, QStringLiteral("Frame13"), QStringLiteral("по потерям напряжения")), 2640, 240, 2175, 1095);
    Label8 = CaptionAt(Frame13, QStringLiteral("Label8"), QStringLiteral("сечение мм "), 480, 240);
    Label9 = SquareMark(Frame13, QStringLiteral("Label9"), 480 + 840, 240);
    Text1 = Placed(new TextBox(Frame13, QStringLiteral("Text1")), 480, 480, 1095, 285);
    Label20 = Placed(new Label(Frame13, QStringLiteral("Label20"), QString()), 480, 840, 1095, 255);
    Label4 = Placed(new Label(Frame16, QStringLiteral("Label4"), QString()), 120, 1440, 4695, 495);
    Label4->setWordWrap(true);
    Label4->setFont(shell::UiFont(8.25, true));
    for (TextBox* box : {Text2, Text1}) {
        box->setReadOnly(true);
        box->setFont(shell::UiFont(9.75, true));
        box->setAlignment(Qt::AlignCenter);
    }

    Frame12 = Placed(new Frame(Frame2, QStringLiteral("Frame12"), QStringLiteral("коэфф")), 5400, 1440, 1575, 855);
    txtF = Placed(new TextBox(Frame12, QStringLiteral("txtF")), 120, 480, 375, 285);
    txtN = Placed(new TextBox(Frame12, QStringLiteral("txtN")), 600, 480, 375, 285);
    Text8 = Placed(new TextBox(Frame12, QStringLiteral("Text8")), 1080, 480, 375, 285);
    for (TextBox* box : {txtF, txtN, Text8}) box->setText(QStringLiteral("1"));
    CaptionAt(Frame12, QStringLiteral("Label25"), QStringLiteral("cos"), 120, 240);
    CaptionAt(Frame12, QStringLiteral("Label27"), QStringLiteral("η"), 600, 240);
    CaptionAt(Frame12, QStringLiteral("Label39"), QStringLiteral("k"), 1080, 240);

    Text6 = new TextBox(this, QStringLiteral("Text6"));
    Text3 = new TextBox(this, QStringLiteral("Text3"));
    Text3->setText(QStringLiteral("211,2"));
    Text4->setText(QStringLiteral("8,8"));
}

void MainWindow::BuildSecondCalculation() {
    Frame18 = Placed(new Frame(this, QStringLiteral("Frame18"), QStringLiteral("Расчет")), 120, 5880, 7095, 2415);
    Frame19 = Placed(new Frame(Frame18, QStringLiteral("Frame19"), QStringLiteral("максимально допустимые")), 120, 240, 2895, 1095);
    CaptionAt(Frame19, QStringLiteral("Label34"), QStringLiteral("МОЩНОСТЬ"), 120, 300);
    Text5 = Placed(new TextBox(Frame19, QStringLiteral("Text5")), 1320, 240, 975, 285);
    CaptionAt(Frame19, QStringLiteral("Label35"), QStringLiteral("кВт"), 2400, 300);
    CaptionAt(Frame19, QStringLiteral("Label36"), QStringLiteral("СИЛА ТОКА"), 120, 660);
    Text7 = Placed(new TextBox(Frame19, QStringLiteral("Text7")), 1320, 600, 975, 285);
    CaptionAt(Frame19, QStringLiteral("Label37"), QStringLiteral("А"), 2400, 660);
    auto* breaker = Placed(new Label(Frame18, QStringLiteral("Label38"), QStringLiteral("рекомендуемый ток автомата защиты")), 3240, 240, 3735, 255);
    breaker->setWordWrap(true);
    Text9 = Placed(new TextBox(Frame18, QStringLiteral("Text9")), 4440, 480, 975, 285);
    CaptionAt(Frame18, QStringLiteral("Label40"), QStringLiteral("А"), 5520, 540);
    Frame20 = Placed(new Frame(Frame18, QStringLiteral("Frame20"), QStringLiteral("рекомендуемое УЗО")), 3240, 960, 3735, 1095);
    CaptionAt(Frame20, QStringLiteral("Label41"), QStringLiteral("номинальный ток"), 120, 300);
    Text10 = Placed(new TextBox(Frame20, QStringLiteral("Text10")), 2160, 240, 975, 285);
    CaptionAt(Frame20, QStringLiteral("Label42"), QStringLiteral("А"), 3240, 300);
    CaptionAt(Frame20, QStringLiteral("Label47"), QStringLiteral("отключающий диф ток"), 120, 660);
    Text11 = Placed(new TextBox(Frame20, QStringLiteral("Text11")), 2160, 600, 975, 285);
    CaptionAt(Frame20, QStringLiteral("Label49"), QStringLiteral("мА"), 3240, 660);
    Command5 = Placed(new CommandButton(Frame18, QStringLiteral("Command5"), QStringLiteral("Рассчитать")), 240, 1440, 1215, 375);
    Command4 = Placed(new CommandButton(Frame18, QStringLiteral("Command4"), QStringLiteral("Сброс")), 1680, 1440, 1215, 375);
    for (TextBox* box : {Text5, Text7, Text9, Text10, Text11}) box->setReadOnly(true);
    for (TextBox* box : {Text9, Text10, Text11}) SetTextColor(box, colors::kBlue);
}

void MainWindow::BuildInformationAndProtection() {
    Frame8 = Placed(new Frame(this, QStringLiteral("Frame8"), QStringLiteral("Информация")), 7320, 5880, 4215, 2415);
    Image3 = Placed(new PictureBox(Frame8, QStringLiteral("Image3")), 120, 240, 3990, 1755);
    Image3->setPixmap(QPixmap::fromImage(shell::pictures::OrderingPicture()));
    Image4 = Placed(new PictureBox(Frame8, QStringLiteral("Image4")), 120, 1860, 645, 585);
    Image4->setPixmap(QPixmap::fromImage(shell::pictures::Globe()));
    Label19 = Placed(new Label(Frame8, QStringLiteral("Label19"), shell::maker::kSiteHost), 840, 1920, 2415, 375);
    SetTextColor(Label19, colors::kBlue);

    Frame22 = Placed(new Frame(this, QStringLiteral("Frame22"), QStringLiteral("Защита")), 7320, 5880, 4215, 2415);
    Label53 = CaptionAt(Frame22, QStringLiteral("Label53"), QStringLiteral("Кратность тока"), 120, 300);
    Label53->setWordWrap(true);
    PlaceTwips(Label53, 120, 240, 840, 375);
    Label53->setFont(shell::UiFont(7));
    Combo4 = Placed(new ComboBox(Frame22, QStringLiteral("Combo4"), false), 960, 240, 735, 315);
    for (const auto multiplicity : MultiplicityList()) Combo4->AddItem(Q(multiplicity));
    Combo4->Write(Q(kDefaultMultiplicity));
    Label51 = Placed(new Label(Frame22, QStringLiteral("Label51"), QStringLiteral("Ток при кратности, А:")), 1800, 240, 1035, 375);
    Label51->setWordWrap(true);
    Label51->setFont(shell::UiFont(7));
    Text14 = Placed(new TextBox(Frame22, QStringLiteral("Text14")), 2880, 240, 975, 285);
    CaptionAt(Frame22, QStringLiteral("Label50"), QStringLiteral("Автомат защиты, А:"), 120, 750);
    Text13 = Placed(new TextBox(Frame22, QStringLiteral("Text13")), 2880, 720, 975, 285);
    auto* device = Placed(new Label(Frame22, QStringLiteral("Label52"), QStringLiteral("Выбрано устройство защитного отключения УЗО. Номинальный ток, А :")), 120, 960, 2655, 615);
    device->setWordWrap(true);
    Text15 = Placed(new TextBox(Frame22, QStringLiteral("Text15")), 2880, 1080, 975, 285);
    auto* trip = Placed(new Label(Frame22, QStringLiteral("Label54"), QStringLiteral("Номинальный отключающий дифференциальный ток, мА: ")), 120, 1560, 3015, 375);
    trip->setWordWrap(true);
    Text16 = Placed(new TextBox(Frame22, QStringLiteral("Text16")), 2880, 1560, 975, 285);
    Command7 = Placed(new CommandButton(Frame22, QStringLiteral("Command7"), QStringLiteral("Скрыть")), 2760, 1920, 1215, 375);
    for (TextBox* box : {Text14, Text13, Text15, Text16}) box->setReadOnly(true);
    for (TextBox* box : {Text13, Text15, Text16}) SetTextColor(box, colors::kBlue);
}

void MainWindow::Wire() {
    Command2->OnClick([this] { OnCommand2Click(); });
    Command3->OnClick([this] { OnCommand3Click(); });
    Command4->OnClick([this] { Command3->Press(); });
    Command5->OnClick([this] { OnCommand5Click(); });
    Command7->OnClick([this] { Frame22->hide(); });
    txtI->OnChange([this] { OnTxtIChange(); });
    txtP->OnChange([this] { OnTxtPChange(); });
    txtL->OnChange([this] { OnTxtLChange(); });
    Text1->OnChange([this] { OnText1Change(); });
    Text2->OnChange([this] { OnText2Change(); });
    Text6->OnChange([this] { OnText6Change(); });
    Timer1->OnTick([this] { OnTimer1Tick(); });
    Timer3->OnTick([this] { OnTimer3Tick(); });
    Option1->OnClick([this] { OnOption1Click(); });
    Option2->OnClick([this] { OnOption2Click(); });
    Option17->OnClick([this] { OnSupplyClick(SupplyKind::DC); });
    Option3->OnClick([this] { OnSupplyClick(SupplyKind::SinglePhase); });
    Option4->OnClick([this] { OnSupplyClick(SupplyKind::ThreePhase); });
    p->OnClick([this] { OnConductorKindClick(true); });
    k->OnClick([this] { OnConductorKindClick(false); });
    for (OptionButton* laying : wire_laying) laying->OnClick([this] { OnLayingClick(); });
    for (OptionButton* laying : cable_laying) laying->OnClick([this] { OnLayingClick(); });
    Combo1->OnChange([this] { OnVoltageFiguresChange(); });
    Combo2->OnChange([this] { OnVoltageFiguresChange(); });
    Combo4->OnClick([this] { OnCombo4Click(); });
    Check2->OnClick([this] { OnCheck2Click(); });
    Check3->OnClick([this] { OnCheck3Click(); });
    Check1->OnClick([this] { shell::SetAlwaysOnTop(this, Check1->Value()); });
    WireMenus();
    WireKeyboard();
}

// Enter in a load or length box calculates, as "Рассчитать" of the calculation shown does;
// every input and result box has a name a screen reader can read.
void MainWindow::WireKeyboard() {
    for (TextBox* box : {txtP, txtI, txtL})
        connect(box, &QLineEdit::returnPressed, this, [this] {
            if (Frame2->isVisibleTo(this)) Command2->Press();
        });
    connect(Combo3->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (Frame18->isVisibleTo(this)) Command5->Press();
    });

    const std::pair<QWidget*, const char*> names[] = {
        {txtP, "Мощность нагрузки, кВт"},
        {txtI, "Сила тока нагрузки, А"},
        {txtL, "Длина линии, м"},
        {Combo1, "Допустимые потери напряжения, %"},
        {Combo2, "Номинальное напряжение сети, В"},
        {Combo3, "Сечение проводника, мм²"},
        {Text4, "Потери напряжения, В"},
        {Text2, "Сечение по длительно допустимому току, мм²"},
        {Text1, "Сечение по потерям напряжения, мм²"},
        {Label4, "Рекомендация"},
        {Label2, "Подсказка"},
        {Text5, "Максимально допустимая мощность, кВт"},
        {Text7, "Максимально допустимая сила тока, А"},
        {Text9, "Рекомендуемый ток автомата защиты, А"},
        {Text10, "Номинальный ток УЗО, А"},
        {Text11, "Отключающий дифференциальный ток УЗО, мА"},
        {Combo4, "Кратность тока"},
        {Text14, "Ток при кратности, А"},
        {Text13, "Номинальный ток автомата защиты, А"},
        {Text15, "Номинальный ток УЗО, А"},
        {Text16, "Номинальный отключающий дифференциальный ток УЗО, мА"},
    };
    for (const auto& [widget, name] : names) widget->setAccessibleName(QString::fromUtf8(name));

    // Tab goes through the source data left to right, then the calculation shown.
    const QList<QWidget*> order = {Option1, Option2, Combo3, Option3, Option4, Option17, Combo2, p, k,
                                   Option5, Option6, txtL, Combo1, p1, p2, p3, p4, p5, p6, k1, k2, k3,
                                   k4, k5, k6, k7, Option16, Option18, txtP, txtI, Command2, Command3,
                                   Command5, Command4, Combo4, Command7, Check1};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    for (QWidget* result : std::initializer_list<QWidget*>{Text1, Text2, Text4, Text5, Text7, Text9, Text10,
                                                          Text11, Text13, Text14, Text15, Text16})
        result->setFocusPolicy(Qt::ClickFocus);
}

// Start-up, in the design's order: the frame, the skin, then the defaults selected by code so
// that their click handlers set up the lists, the panels and the list timers.
void MainWindow::Load() {
    ApplyFrame();
    Frame12->hide();
    Timer1->SetEnabled(false);
    Text3->hide();

    for (QWidget* widget : std::initializer_list<QWidget*>{
             Frame1, Frame2, Frame3, Frame4, Frame5, Frame6, Frame7, Frame8, Frame9, Frame10,
             Frame11, Frame12, Frame13, Frame16, Frame17, Frame18, Frame19, Frame20, Frame22,
             Label2, Check1, Command2, Command3, Command4, Command5, Command7})
        shell::SetBackground(widget, colors::kBackground);
    for (QWidget* widget : std::initializer_list<QWidget*>{Frame14, Label22, Label44})
        shell::SetBackground(widget, colors::kMenuBar);
    shell::SetBackground(Label43, colors::kMenuStripe);
    shell::SetBackground(Frame15, colors::kPanelOpened);
    shell::SetBackground(Frame21, colors::kPanelOpened);

    Option1->Select();
    Option3->Select();
    p->Select();
    Option5->Select();
    p1->Select();
    k1->Select();

    Text6->hide();
    Frame15->hide();
    Frame21->hide();
    Check2->SetValue(true);
    shell::MoveTwips(Frame21, 1080, 2240);
    Frame22->hide();
    Frame21->raise();
    Frame15->raise();
}

void MainWindow::OnClosePressed() { shell::EndProgram(); }

std::optional<SupplyKind> MainWindow::Supply() const {
    if (Option4->Value()) return SupplyKind::ThreePhase;
    if (Option3->Value()) return SupplyKind::SinglePhase;
    if (Option17->Value()) return SupplyKind::DC;
    return std::nullopt;
}

ConductorChoice MainWindow::Conductor() const {
    ConductorChoice choice;
    if (Option5->Value()) choice.material = Material::Copper;
    else if (Option6->Value()) choice.material = Material::Aluminium;
    if (p->Value()) choice.kind = ConductorKind::Wire;
    else if (k->Value()) choice.kind = ConductorKind::Cable;
    // The laying of the selected kind's panel; the other panel keeps its own choice unused.
    if (choice.kind == ConductorKind::Wire) {
        for (std::size_t i = 0; i < wire_laying.size(); ++i)
            if (wire_laying[i]->Value()) choice.laying = static_cast<LayingMethod>(i);
    } else if (choice.kind == ConductorKind::Cable) {
        for (std::size_t i = 0; i < cable_laying.size(); ++i)
            if (cable_laying[i]->Value()) choice.laying = static_cast<LayingMethod>(kWireLayingCount + i);
    }
    return choice;
}

void MainWindow::WriteProtection(pipeline::ProtectionBox box, const QString& text) {
    using pipeline::ProtectionBox;
    switch (box) {
        case ProtectionBox::BreakerRating: Text13->Write(text); break;
        case ProtectionBox::CurrentAtMultiplicity: Text14->Write(text); break;
        case ProtectionBox::RcdRatedCurrent: Text15->Write(text); break;
        case ProtectionBox::RcdTripCurrent: Text16->Write(text); break;
    }
}

void MainWindow::ShowMainWindow() { show(); }
void MainWindow::HideMainWindow() { hide(); }

void MainWindow::ClearAfterMessage() {
    Text2->Write(QString());
    Text1->Write(QString());
    txtI->Write(QString());
    txtP->Write(QString());
    Label4->SetCaption(QString());
    // The protection belongs to the load just emptied.
    for (TextBox* box : {Text13, Text14, Text15, Text16}) box->Write(QString());
}

template <class Box>
void MainWindow::RunAgain(Box* box) {
    text_slot_ = box->Text();
    box->Write(QString());
    box->Write(text_slot_);
}

// "Рассчитать": load current and power, then the section by voltage loss. A text that is not a
// number where one is needed tells the user how numbers are written; figures out of their range
// and a result that cannot be computed are told as kelvo-calc tells them. Every message hides
// the window, and its "ОК" empties the results, so no figure of an earlier load stays.
void MainWindow::OnCommand2Click() {
    // The power the exceed message names while this click runs: the load's own, also when it is
    // given as a current and the power box still shows the previous load's.
    struct ExceedPowerScope {
        QString& power;
        ~ExceedPowerScope() { power.clear(); }
    } exceed_power_scope{exceed_power_};
    Label4->SetCaption(QString());  // the recommendation of the previous load
    const bool laying_shown = Frame10->isVisibleTo(this) || Frame6->isVisibleTo(this);
    try {
        std::optional<QString> f, n, current, power, voltage, extra, length, loss;
        double formula_power = 0;  // the power of the voltage-loss formula; 0 when never read
        if (!laying_shown) {
            ShowMessage(texts::kChooseConductorKind, MainWindowWhileShown::Hidden);
        } else {
            f = txtF->Text(), n = txtN->Text(), current = txtI->Text(), power = txtP->Text();
            voltage = Combo2->Text(), extra = Text8->Text(), length = txtL->Text(), loss = Combo1->Text();
            const QString& load = Option1->Value() ? *power : *current;
            if (const auto fault = FiguresFault(S(load), S(*voltage), S(*length), S(*loss))) {
                ShowMessage(Q(*fault), MainWindowWhileShown::Hidden);
                return;
            }
            // The current and the power start as the boxes' texts; a computed value replaces one.
            std::optional<double> computed_current, computed_power;
            if (Option1->Value()) {
                if (!power->isEmpty()) {
                    const std::optional<SupplyKind> supply = Supply();
                    if (!supply) {
                        ShowMessage(texts::kNoPowerSupply, MainWindowWhileShown::Hidden);
                    } else {
                        const double p_kw = NumberOf(power), u = NumberOf(voltage);
                        const LoadCoefficients c = *supply == SupplyKind::DC
                                                       ? LoadCoefficients{}
                                                       : LoadCoefficients{NumberOf(f), NumberOf(n), NumberOf(extra)};
                        computed_current = CurrentFromPower(p_kw, u, c, *supply);
                        if (!computed_current) throw SilentFailure{};
                    }
                }
                RunAgain(txtI);
            }
            if (Option2->Value()) {
                if (!current->isEmpty()) {
                    const LoadCoefficients c{NumberOf(f), NumberOf(n), NumberOf(extra)};
                    computed_power = PowerFromCurrent(NumberOf(current), NumberOf(voltage), c,
                                                      Supply().value_or(SupplyKind::SinglePhase));
                    if (!computed_power) throw SilentFailure{};
                    exceed_power_ = Q(WriteNumber(RoundHalfEven2(*computed_power)));
                } else {
                    ShowMessage(texts::kNoCurrent, MainWindowWhileShown::Hidden);
                }
                RunAgain(txtI);
            }
            const double i_value = computed_current ? *computed_current : NumberOf(current);
            txtI->Write(Q(WriteNumber(RoundHalfEven2(i_value))));
            const double p_value = computed_power ? *computed_power : NumberOf(power);
            txtP->Write(Q(WriteNumber(RoundHalfEven2(p_value))));
            // The power of the voltage-loss formula: as typed, or as computed (not rounded).
            formula_power = computed_power ? *computed_power : p_value;
        }

        std::optional<double> section;
        if (txtL->Text().isEmpty()) {
            ShowMessage(texts::kNoLength, MainWindowWhileShown::Hidden);
        } else {
            const SupplyKind supply = Supply().value_or(SupplyKind::SinglePhase);
            const Material material = Option5->Value() ? Material::Copper : Material::Aluminium;
            section = RequiredSection({formula_power, NumberOf(length), NumberOf(loss), NumberOf(voltage)},
                                      supply, material);
            if (!section) throw SilentFailure{};
        }
        // Both boxes start empty, so that the selection by voltage loss and its post-processing
        // run on every press, also when only the laying or the conductor changed.
        Text6->Write(QString());
        Text1->Write(QString());
        Text6->Write(section ? Q(WriteNumber(RoundHalfEven2(*section))) : QStringLiteral("0"));
        if (Check2->Value()) Frame22->show();
    } catch (const TypeMismatch&) {
        ShowMessage(texts::kDecimalComma, MainWindowWhileShown::Hidden);
    } catch (const SilentFailure&) {
        // Without a conductor kind nothing was read to calculate with, and the message already
        // shown says what is missing.
        if (laying_shown) ShowMessage(Q(messages::kCannotCalculate), MainWindowWhileShown::Hidden);
    }
}

// "Сброс": every result and the pipeline back to their start.
void MainWindow::OnCommand3Click() {
    txtP->Write(QString());
    txtI->Write(QString());
    Text2->Write(QString());
    Text1->Write(QString());
    Text6->Write(QString());
    Label4->SetCaption(QString());
    Label20->SetCaption(QString());
    Label21->SetCaption(QString());
    if (Check3->Value())
        RunAgain(Combo3);
    else
        Combo3->Write(QString());
    Text7->Write(QString());
    frms_.Release();
    Text9->Write(QString());
    Text10->Write(QString());
    Text11->Write(QString());
    // The protection of an earlier load must not stay beside a new one, and the fresh pipeline
    // starts at multiplicity 1.
    for (TextBox* box : {Text13, Text14, Text15, Text16}) box->Write(QString());
    Combo4->Write(Q(kDefaultMultiplicity));
    Frame22->hide();
}

// The current box: the section by permissible current, then the protection pipeline.
void MainWindow::OnTxtIChange() {
    Text2->Write(Q(SelectSectionByCurrent(S(txtI->Text()), Conductor())));
    frmS().Text2.Write(txtI->Text());
}

// The power box refreshes the reverse panel.
void MainWindow::OnTxtPChange() {
    Text5->Write(txtP->Text());
    Text7->Write(txtI->Text());
    Text9->Write(frmS().Text3.Text());
    Text10->Write(frmS().Text5.Text());
    Text11->Write(frmS().Text6.Text());
}

void MainWindow::OnTxtLChange() { Text6->Write(QString()); }

namespace {

// The alternative standard section beside a result: the tables know sections (1,2; 2; 3; 5; 8)
// that are not made; the next made size is named.
QString Alternative(const QString& section) {
    if (section == QStringLiteral("1,2")) return QStringLiteral("или 1,5 мм.кв");
    if (section == QStringLiteral("2")) return QStringLiteral("или 2,5 мм.кв");
    if (section == QStringLiteral("3")) return QStringLiteral("или 4 мм.кв");
    if (section == QStringLiteral("5")) return QStringLiteral("или 6 мм.кв");
    if (section == QStringLiteral("8")) return QStringLiteral("или 10 мм.кв");
    return {};
}

}  // namespace

// The exceed marker is drawn red; any other section in the normal colour.
void MainWindow::MarkExceed(TextBox* box) {
    SetTextColor(box, box->Text() == Q(kExceedMarker) ? colors::kRed : palette().color(QPalette::Text));
}

void MainWindow::OnText1Change() {
    Timer1->SetEnabled(true);
    MarkExceed(Text1);
    if (Text1->Text() == Q(kExceedMarker)) {
        ShowMessage(texts::kExceedByLoss, MainWindowWhileShown::Hidden);
        return;
    }
    Label20->SetCaption(Alternative(Text1->Text()));
}

void MainWindow::OnText2Change() {
    MarkExceed(Text2);
    if (Text2->Text() == Q(kExceedMarker)) {
        ShowMessage(texts::ExceedByPower(exceed_power_.isEmpty() ? txtP->Text() : exceed_power_),
                    MainWindowWhileShown::Hidden);
        return;
    }
    Label21->SetCaption(Alternative(Text2->Text()));
}

// The required section rounded up to a standard one. An empty box (after a change of the
// length) selects nothing and leaves the last section shown until the next calculation; a
// required section above every table is told.
void MainWindow::OnText6Change() {
    if (!ReadNumber(S(Text6->Text()))) return;
    const std::string required = S(Text6->Text());
    const std::string section = SelectSectionByVoltageLoss(required, Conductor());
    Text1->Write(Q(section));
    if (AboveEveryTable(required, section, Conductor()))
        ShowMessage(Q(messages::kLossSectionBeyondTables), MainWindowWhileShown::Hidden);
}

// The recommendation, once the cascades of a calculation have settled.
void MainWindow::OnTimer1Tick() {
    if (!Text1->Text().isEmpty()) {
        const QString by_current = Text2->Text(), by_loss = Text1->Text();
        const auto recommendation = Recommend(S(by_current), S(by_loss));
        if (!recommendation) {
            ShowMessage(texts::kTooLarge, MainWindowWhileShown::Hidden);
            Timer1->SetEnabled(false);
            return;
        }
        const bool by_voltage_loss = recommendation->basis == Basis::VoltageLoss;
        Label4->SetCaption(texts::Recommendation(by_voltage_loss, by_voltage_loss ? by_loss : by_current));
        if (!by_voltage_loss) Text1->Write(by_current);
    }
    Timer1->SetEnabled(false);
}

// The cross-section list of the reverse calculation, for the conductor kind just chosen.
void MainWindow::OnTimer3Tick() {
    const auto list = pipeline::CrossSectionsForSelection(*this);
    if (!list) return;
    Combo3->Clear();
    for (const QString& entry : *list) Combo3->AddItem(entry);
    Timer3->SetEnabled(false);
}

void MainWindow::OnOption1Click() {
    SetBaseColor(txtP, colors::kRaisedInput);
    SetBaseColor(txtI, palette().color(QPalette::Base));
    SetTextColor(Label5, colors::kRed);
    SetTextColor(Label7, palette().color(QPalette::ButtonText));
}

void MainWindow::OnOption2Click() {
    SetBaseColor(txtI, colors::kRaisedInput);
    SetBaseColor(txtP, palette().color(QPalette::Base));
    SetTextColor(Label7, colors::kRed);
    SetTextColor(Label5, palette().color(QPalette::ButtonText));
}

void MainWindow::OnSupplyClick(SupplyKind supply) {
    struct Voltages {
        const char* shown;
        const char* list[4];
    };
    static const Voltages kDc{"12", {"220", "110", "36", "12"}};
    static const Voltages kSingle{"220", {"220", "127", "36", "12"}};
    static const Voltages kThree{"380", {"380", "220", "127", "120"}};
    const Voltages& v = supply == SupplyKind::DC ? kDc : supply == SupplyKind::SinglePhase ? kSingle : kThree;
    Combo2->Clear();
    Combo2->Write(QString::fromUtf8(v.shown));
    for (const char* entry : v.list) Combo2->AddItem(QString::fromUtf8(entry));
}

void MainWindow::OnConductorKindClick(bool wire) {
    Frame10->setVisible(wire);
    Frame6->setVisible(!wire);
    Timer3->SetEnabled(true);
    frmS().Timer1->SetEnabled(true);
}

// In the reverse calculation a new laying clears the results but keeps the chosen section.
void MainWindow::OnLayingClick() {
    if (!Check3->Value()) return;
    text_slot_ = Combo3->Text();
    const QString kept = text_slot_;
    Command4->Press();
    Combo3->Write(kept);
}

// The loss in volts and the voltage left; empty while the voltage or the loss is not a number.
void MainWindow::OnVoltageFiguresChange() {
    const auto figures = ComputeVoltageFigures(S(Combo1->Text()), S(Combo2->Text()));
    Text4->Write(figures ? Q(figures->loss_volts) : QString());
    Text3->Write(figures ? Q(figures->remaining_volts) : QString());
}

// The reverse calculation: a fresh pipeline computes the maximum current of the chosen
// section and hands it back for its power.
void MainWindow::OnCommand5Click() {
    if (const auto fault = SectionFault(S(Combo3->Text()))) {
        ShowMessage(Q(*fault), MainWindowWhileShown::Visible, true);
        return;
    }
    Command3->Press();
    frmS().Text1.Write(Combo3->Text());
}

// A new multiplicity: the pipeline runs again for the same current.
void MainWindow::OnCombo4Click() {
    frmS().Combo2.Write(Combo4->Text());
    text_slot_ = txtI->Text();
    frmS().Text2.Write(QString());
    frmS().Text2.Write(text_slot_);
}

// The two calculations are a choice: ticking one unticks the other, and a click on the ticked
// box keeps it ticked.
void MainWindow::OnCheck2Click() {
    if (!Check2->Value()) {
        if (!Check3->Value()) Check2->setChecked(true);
        return;
    }
    Frame3->show();
    Frame17->hide();
    Check3->SetValue(false);
    Frame2->show();
    Frame18->hide();
    Option1->Select();
    Command3->Press();
    Frame15->hide();
    Label24->SetCaption(texts::kForwardTitle);
    Frame7->show();
}

void MainWindow::OnCheck3Click() {
    if (!Check3->Value()) {
        if (!Check2->Value()) Check3->setChecked(true);
        return;
    }
    Frame3->hide();
    Frame17->show();
    Check2->SetValue(false);
    Frame2->hide();
    Frame18->show();
    Option1->Select();
    Command3->Press();
    Frame15->hide();
    Label24->SetCaption(texts::kReverseTitle);
    Frame7->hide();
    txtL->Write(QStringLiteral("1"));
    Frame22->hide();
}

}  // namespace kelvo::mainwindow
