// The main window's controls: each made once with its name and caption, then every one put in
// its place from one table of places in twips, read like the window's layout table.
#include <QFrame>
#include <QHash>

#include "core/protection.h"
#include "ui/main/main_window.h"
#include "ui/main/texts.h"
#include "ui/shell/maker.h"
#include "ui/shell/pictures.h"
#include "ui/shell/qtext.h"
#include "ui/shell/skin.h"

namespace kelvo::mainwindow {

using shell::Q;
using shell::SetTextColor;
namespace colors = shell::colors;

namespace {

// A control's place in twips. A caption that sizes itself to its text has no width or height.
struct Place {
    const char* name;
    int left, top, width, height;
};

// clang-format off
constexpr Place kPlaces[] = {
    // name         left   top    width  height
    {"Image2",       120,   360, 11400,  1500},
    // Source data
    {"Frame5",       120,  2880, 11415,  2895},
    {"Frame3",       120,   240,  1695,  1815},
    {"Option1",      120,   240,  1500,   255},
    {"Option2",      120,   720,  1500,   255},
    {"Frame17",      120,   240,  1695,  1815},
    {"Label30",      360,   360,     0,     0},
    {"Label29",     1320,   300,   150,   195},
    {"Combo3",       240,   720,  1215,   315},
    {"Frame1",      1920,   240,  1695,  1815},
    {"Option3",      120,   240,   585,   255},
    {"Option4",      120,   720,   585,   255},
    {"Option17",     120,  1200,  1455,   255},
    {"Combo2",       720,   240,   735,   315},
    {"Label33",     1500,   270,     0,     0},
    {"Frame4",      3720,   240,  1095,  1815},
    {"p",            120,   240,   915,   255},
    {"k",            120,   720,   915,   255},
    {"Frame9",      4920,   240,  1335,  1815},
    {"Option5",      120,   240,  1155,   255},
    {"Option6",      120,   720,  1155,   255},
    {"Frame7",      6360,   240,  1695,  1815},
    {"txtL",         120,   240,   615,   285},
    {"Label10",      840,   270,     0,     0},
    {"Combo1",       120,   720,   615,   315},
    {"Label14",      840,   480,   735,   615},
    {"Text4",        120,  1200,   615,   285},
    {"Label18",      840,  1080,   735,   615},
    {"Frame10",     8160,   240,  3135,  2535},
    {"p1",           120,   240,  2895,   255},
    {"p2",           120,   540,  2895,   255},
    {"p3",           120,   840,  2895,   255},
    {"p4",           120,  1140,  2895,   255},
    {"p5",           120,  1440,  2895,   255},
    {"p6",           120,  1740,  2895,   255},
    {"Line1",        120,  2070,  2895,    30},
    {"Label11",      120,  2100,  2895,   375},
    {"Frame6",      8160,   240,  3135,  2535},
    {"Label12",      240,   270,     0,     0},
    {"Label13",     1800,   270,     0,     0},
    {"Line2",        120,   540,  2895,    30},
    {"Line3",       1560,   240,    30,  2175},
    {"k1",           120,   660,  1335,   255},
    {"k2",           120,  1020,  1335,   255},
    {"k3",          1680,  1020,  1335,   255},
    {"k4",           120,  1380,  1335,   255},
    {"k5",          1680,  1380,  1335,   255},
    {"k6",           120,  1740,  1335,   255},
    {"k7",          1680,  1740,  1335,   255},
    {"Option16",     120,  2100,  1335,   255},
    {"Option18",    1680,  2100,  1335,   255},
    {"Label2",       120,  2160,  7935,   615},
    // First calculation
    {"Frame2",       120,  5880,  7095,  2415},
    {"Label7",       120,   240,     0,     0},
    {"txtP",         120,   480,   735,   285},
    {"Label5",       960,   240,     0,     0},
    {"txtI",         960,   480,   735,   285},
    {"Command2",     360,   960,  1215,   375},
    {"Command3",     360,  1440,  1215,   375},
    {"Frame16",     1920,   240,  4935,  2055},
    {"Frame11",      120,   240,  2415,  1095},
    {"Label6",       600,   240,     0,     0},
    {"Label1",      1440,   180,   150,   195},
    {"Text2",        600,   480,  1095,   285},
    {"Label21",      600,   840,  1095,   255},
    {"Frame13",     2640,   240,  2175,  1095},
    {"Label8",       480,   240,     0,     0},
    {"Label9",      1320,   180,   150,   195},
    {"Text1",        480,   480,  1095,   285},
    {"Label20",      480,   840,  1095,   255},
    {"Label4",       120,  1440,  4695,   495},
    {"Frame12",     5400,  1440,  1575,   855},
    {"txtF",         120,   480,   375,   285},
    {"txtN",         600,   480,   375,   285},
    {"Text8",       1080,   480,   375,   285},
    {"Label25",      120,   240,     0,     0},
    {"Label26",      345,   240,     0,     0},
    {"Label27",      600,   240,     0,     0},
    {"Label28",      720,   330,     0,     0},
    {"Label39",     1080,   240,     0,     0},
    // Second calculation
    {"Frame18",      120,  5880,  7095,  2415},
    {"Frame19",      120,   240,  2895,  1095},
    {"Label34",      120,   300,     0,     0},
    {"Text5",       1320,   240,   975,   285},
    {"Label35",     2400,   300,     0,     0},
    {"Label36",      120,   660,     0,     0},
    {"Text7",       1320,   600,   975,   285},
    {"Label37",     2400,   660,     0,     0},
    {"Label38",     3240,   240,  3735,   255},
    {"Text9",       4440,   480,   975,   285},
    {"Label40",     5520,   540,     0,     0},
    {"Frame20",     3240,   960,  3735,  1095},
    {"Label41",      120,   300,     0,     0},
    {"Text10",      2160,   240,   975,   285},
    {"Label42",     3240,   300,     0,     0},
    {"Label47",      120,   660,     0,     0},
    {"Text11",      2160,   600,   975,   285},
    {"Label49",     3240,   660,     0,     0},
    {"Command5",     240,  1440,  1215,   375},
    {"Command4",    1680,  1440,  1215,   375},
    // Information and protection
    {"Frame8",      7320,  5880,  4215,  2415},
    {"Image3",       120,   240,  3990,  1515},
    {"Image4",       120,  1770,   645,   585},
    {"Label19",      840,  1920,  2415,   375},
    {"Frame22",     7320,  5880,  4215,  2415},
    {"Label53",      120,   240,   840,   375},
    {"Combo4",       960,   240,   735,   315},
    {"Label51",     1800,   240,  1035,   375},
    {"Text14",      2880,   240,   975,   285},
    {"Label50",      120,   750,     0,     0},
    {"Text13",      2880,   720,   975,   285},
    {"Label52",      120,   960,  2655,   615},
    {"Text15",      2880,  1080,   975,   285},
    {"Label54",      120,  1590,  3015,   375},
    {"Text16",      2880,  1560,   975,   285},
    {"Command7",    2760,  1920,  1215,   375},
    // Menu bar and its panels
    {"Frame14",       40,  1920, 11655,   400},
    {"Label43",        0,     0, 11655,    80},
    {"Line7",          0,   390, 11655,    15},
    {"Label22",      120,   120,   855,   255},
    {"Label44",     1040,   120,   855,   255},
    {"Label45",     1920,   120,  1935,   255},
    {"Label46",     3840,   120,   855,   255},
    {"Frame15",      240,  2280,  5055,  1695},
    {"Check2",       120,   240,  4815,   255},
    {"Check3",       120,   600,  4815,   255},
    {"Check7",       120,   960,  4815,   255},
    {"Check8",       120,  1320,  4815,   255},
    {"Frame21",      120,     0,  4695,  1335},
    {"Check4",       120,   240,  4455,   255},
    {"Check5",       120,   600,  4455,   255},
    {"Check6",       120,   960,  4455,   255},
    {"Label24",     2760,  2520,  5415,   255},
    // Bottom line
    {"Check1",       240,  8400,  1455,   255},
    {"Label17",     2280,  8520,  8295,   495},
};
// clang-format on

Label* WrappedLabel(QWidget* parent, const QString& name, const QString& caption) {
    auto* label = new Label(parent, name, caption);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QFrame* Line(QWidget* parent, const QString& name, Qt::Orientation orientation) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(orientation == Qt::Horizontal ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// A raised "2" beside "сечение мм ": square millimetres.
Label* SquareMark(QWidget* parent, const QString& name) {
    auto* mark = new Label(parent, name, QStringLiteral("2"));
    QFont font = shell::UiFont(6.75);
    font.setFamily(QStringLiteral("Liberation Serif"));
    mark->setFont(font);
    return mark;
}

TextBox* ResultBox(QWidget* parent, const QString& name, const QColor* color = nullptr) {
    auto* box = new TextBox(parent, name);
    box->setReadOnly(true);
    if (color) SetTextColor(box, *color);
    return box;
}

}  // namespace

void MainWindow::BuildControls() {
    Image2 = new PictureBox(this, QStringLiteral("Image2"));
    Image2->setPixmap(QPixmap::fromImage(shell::pictures::Banner()));
    Image2->setScaledContents(true);
    BuildSourceData();
    BuildFirstCalculation();
    BuildSecondCalculation();
    BuildInformationAndProtection();
    BuildMenus();
    Check1 = new CheckBox(this, QStringLiteral("Check1"), QStringLiteral("Всегда сверху"));
    Label17 =
        new Label(this, QStringLiteral("Label17"), texts::kWarningFirst + QLatin1Char('\n') + texts::kWarningSecond);
    Label17->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label17->setFont(shell::UiFont(8, true));
    SetTextColor(Label17, QColor(128, 0, 0));
    Timer1 = new Timer(this, QStringLiteral("Timer1"), 500);
    Timer3 = new Timer(this, QStringLiteral("Timer3"), 100);
    PlaceControls();
}

void MainWindow::PlaceControls() {
    QHash<QString, QWidget*> controls;
    for (QWidget* control : findChildren<QWidget*>()) controls.insert(control->objectName(), control);
    for (const Place& place : kPlaces) {
        QWidget* control = controls.value(QLatin1String(place.name));
        if (!control) continue;
        if (place.width == 0) {
            shell::MoveTwips(control, place.left, place.top);
            static_cast<Label*>(control)->FitToCaption();
        } else {
            shell::PlaceTwips(control, place.left, place.top, place.width, place.height);
        }
    }
    // The raised "2" of mm² stands right after its caption's text as the interface font lays it
    // out, at its own height.
    for (const auto& [caption, mark] : {std::pair{Label30, Label29}, {Label6, Label1}, {Label8, Label9}})
        mark->move(caption->x() + caption->fontMetrics().horizontalAdvance(caption->Caption().trimmed()), mark->y());
}

void MainWindow::KeepInsideTheBorder(QWidget* control) {
    // The window's border is two pixels wide; the control's text ends where its lines end.
    const auto* label = qobject_cast<const QLabel*>(control);
    const int height = label ? label->fontMetrics()
                                       .boundingRect(label->rect(), static_cast<int>(label->alignment()), label->text())
                                       .bottom() +
                                   1
                             : control->height();
    const int overflow = control->y() + height - (this->height() - 2);
    if (overflow > 0) control->move(control->x(), control->y() - overflow);
}

void MainWindow::BuildMenus() {
    Frame14 = new QFrame(this);
    Frame14->setObjectName(QStringLiteral("Frame14"));
    Label43 = new Label(Frame14, QStringLiteral("Label43"), QString());
    QFrame* line7 = Line(Frame14, QStringLiteral("Line7"), Qt::Horizontal);
    line7->setFrameShadow(QFrame::Plain);
    SetTextColor(line7, colors::kMenuLine);
    Label22 = new Label(Frame14, QStringLiteral("Label22"), QStringLiteral("Расчеты"));
    Label44 = new Label(Frame14, QStringLiteral("Label44"), QStringLiteral("Таблицы "));
    Label45 = new Label(Frame14, QStringLiteral("Label45"), QStringLiteral("Каталог кабеля (on-line)"));
    Label46 = new Label(Frame14, QStringLiteral("Label46"), QStringLiteral("Справка "));
    for (Label* label : {Label22, Label44, Label45, Label46}) label->setAlignment(Qt::AlignCenter);

    Frame15 = new Frame(this, QStringLiteral("Frame15"), QString());
    Check2 = new CheckBox(Frame15, QStringLiteral("Check2"), texts::kForwardCalculation);
    Check3 = new CheckBox(Frame15, QStringLiteral("Check3"), texts::kReverseCalculation);
    Check7 = new CheckBox(Frame15, QStringLiteral("Check7"), QStringLiteral("Проверка отключения при КЗ"));
    Check8 = new CheckBox(Frame15, QStringLiteral("Check8"), QStringLiteral("Условия прокладки"));

    Frame21 = new Frame(this, QStringLiteral("Frame21"), QString());
    Check4 = new CheckBox(Frame21, QStringLiteral("Check4"), QStringLiteral("Таблица мощности, тока и сечения"));
    Check5 = new CheckBox(Frame21, QStringLiteral("Check5"),
                          QStringLiteral("Таблица сответствия сечения току автомата защиты"));
    Check6 =
        new CheckBox(Frame21, QStringLiteral("Check6"), QStringLiteral("Таблица токовой нагрузки на провода и шнуры"));

    Label24 = new Label(this, QStringLiteral("Label24"), texts::kForwardTitle);
    Label24->setFont(shell::UiFont(8.25, true));
    Label24->setAlignment(Qt::AlignCenter);
}

void MainWindow::BuildSourceData() {
    Frame5 = new Frame(this, QStringLiteral("Frame5"), QStringLiteral("Исходные данные"));

    Frame3 = new Frame(Frame5, QStringLiteral("Frame3"), QStringLiteral("известно"));
    Option1 = new OptionButton(Frame3, QStringLiteral("Option1"), QStringLiteral("мощность, кВт"));
    Option2 = new OptionButton(Frame3, QStringLiteral("Option2"), QStringLiteral("ток, А"));

    Frame17 = new Frame(Frame5, QStringLiteral("Frame17"), QStringLiteral("известно"));
    Label30 = new Label(Frame17, QStringLiteral("Label30"), QStringLiteral("сечение мм "));
    Label29 = SquareMark(Frame17, QStringLiteral("Label29"));
    Combo3 = new ComboBox(Frame17, QStringLiteral("Combo3"));

    Frame1 = new Frame(Frame5, QStringLiteral("Frame1"), QStringLiteral("род тока"));
    Option3 = new OptionButton(Frame1, QStringLiteral("Option3"), QStringLiteral("1ф"));
    Option4 = new OptionButton(Frame1, QStringLiteral("Option4"), QStringLiteral("3ф"));
    Option17 = new OptionButton(Frame1, QStringLiteral("Option17"), QStringLiteral("постоянный"));
    Combo2 = new ComboBox(Frame1, QStringLiteral("Combo2"));
    Label33 = new Label(Frame1, QStringLiteral("Label33"), QStringLiteral("В"));

    Frame4 = new Frame(Frame5, QStringLiteral("Frame4"), QStringLiteral("проводник"));
    p = new OptionButton(Frame4, QStringLiteral("p"), QStringLiteral("провод"));
    k = new OptionButton(Frame4, QStringLiteral("k"), QStringLiteral("кабель"));

    Frame9 = new Frame(Frame5, QStringLiteral("Frame9"), QStringLiteral("тип"));
    Option5 = new OptionButton(Frame9, QStringLiteral("Option5"), QStringLiteral("медь "));
    Option6 = new OptionButton(Frame9, QStringLiteral("Option6"), QStringLiteral("алюминий"));

    Frame7 = new Frame(Frame5, QStringLiteral("Frame7"), QStringLiteral("поправка"));
    txtL = new TextBox(Frame7, QStringLiteral("txtL"));
    txtL->setText(QStringLiteral("1"));
    Label10 = new Label(Frame7, QStringLiteral("Label10"), QStringLiteral("длина, м"));
    Combo1 = new ComboBox(Frame7, QStringLiteral("Combo1"));
    for (int percent = 4; percent <= 10; ++percent) Combo1->AddItem(QString::number(percent));
    Combo1->setEditText(QStringLiteral("4"));
    Label14 = WrappedLabel(Frame7, QStringLiteral("Label14"), QStringLiteral("потери напряже- ния в %"));
    Text4 = ResultBox(Frame7, QStringLiteral("Text4"));
    Label18 = WrappedLabel(Frame7, QStringLiteral("Label18"), QStringLiteral("потери напряже- ния в В"));

    BuildLayingPanels();
    Label2 = WrappedLabel(Frame5, QStringLiteral("Label2"), QString());
}

void MainWindow::BuildLayingPanels() {
    Frame10 = new Frame(Frame5, QStringLiteral("Frame10"), QStringLiteral("прокладка проводом"));
    const char* const wire_captions[] = {"открыто",
                                         "закрыто*2х одножильных",
                                         "закрыто*3х одножильных ",
                                         "закрыто*4х одножильных",
                                         "закрыто*один 2х жильный",
                                         "закрыто*один 3х жильный"};
    for (std::size_t i = 0; i < wire_laying.size(); ++i)
        wire_laying[i] =
            new OptionButton(Frame10, QStringLiteral("p%1").arg(i + 1), QString::fromUtf8(wire_captions[i]));
    std::tie(p1, p2, p3, p4, p5, p6) =
        std::tuple(wire_laying[0], wire_laying[1], wire_laying[2], wire_laying[3], wire_laying[4], wire_laying[5]);
    Line(Frame10, QStringLiteral("Line1"), Qt::Horizontal);
    Label11 = new Label(Frame10, QStringLiteral("Label11"),
                        QStringLiteral("* закрыто - в трубе или в коробах или в лотке пучками"));
    Label11->setWordWrap(true);
    Label11->setFont(shell::UiFont(7));

    // Left column in air, right column in ground.
    Frame6 = new Frame(Frame5, QStringLiteral("Frame6"), QStringLiteral("прокладка кабелем"));
    Label12 = new Label(Frame6, QStringLiteral("Label12"), QStringLiteral("в воздухе"));
    Label13 = new Label(Frame6, QStringLiteral("Label13"), QStringLiteral("в земле"));
    Line(Frame6, QStringLiteral("Line2"), Qt::Horizontal);
    Line(Frame6, QStringLiteral("Line3"), Qt::Vertical);
    // In the order of the cable layings k1…k9: Option16 and Option18 are the five-core k8 and k9.
    const char* const cables[][2] = {{"k1", "1 жильный"}, {"k2", "2 жильный"},       {"k3", "2 жильный"},
                                     {"k4", "3 жильный"}, {"k5", "3 жильный"},       {"k6", "4 жильный"},
                                     {"k7", "4 жильный"}, {"Option16", "5 жильный"}, {"Option18", "5 жильный"}};
    for (std::size_t i = 0; i < cable_laying.size(); ++i)
        cable_laying[i] = new OptionButton(Frame6, QString::fromUtf8(cables[i][0]), QString::fromUtf8(cables[i][1]));
    std::tie(k1, k2, k3, k4, k5, k6, k7, Option16, Option18) =
        std::tuple(cable_laying[0], cable_laying[1], cable_laying[2], cable_laying[3], cable_laying[4], cable_laying[5],
                   cable_laying[6], cable_laying[7], cable_laying[8]);
}

void MainWindow::BuildFirstCalculation() {
    Frame2 = new Frame(this, QStringLiteral("Frame2"), QStringLiteral("Расчет"));
    Label7 = new Label(Frame2, QStringLiteral("Label7"), QStringLiteral("мощн. кВт"));
    txtP = new TextBox(Frame2, QStringLiteral("txtP"));
    Label5 = new Label(Frame2, QStringLiteral("Label5"), QStringLiteral("сила тока А"));
    txtI = new TextBox(Frame2, QStringLiteral("txtI"));
    Command2 = new CommandButton(Frame2, QStringLiteral("Command2"), QStringLiteral("Рассчитать"));
    Command3 = new CommandButton(Frame2, QStringLiteral("Command3"), QStringLiteral("Сброс"));

    Frame16 = new Frame(Frame2, QStringLiteral("Frame16"), QStringLiteral("выбор сечения"));
    Frame11 = new Frame(Frame16, QStringLiteral("Frame11"), QStringLiteral("по длительной нагрузке"));
    Label6 = new Label(Frame11, QStringLiteral("Label6"), QStringLiteral("сечение мм "));
    Label1 = SquareMark(Frame11, QStringLiteral("Label1"));
    Text2 = ResultBox(Frame11, QStringLiteral("Text2"));
    Label21 = new Label(Frame11, QStringLiteral("Label21"), QString());
    Frame13 = new Frame(Frame16, QStringLiteral("Frame13"), QStringLiteral("по потерям напряжения"));
    Label8 = new Label(Frame13, QStringLiteral("Label8"), QStringLiteral("сечение мм "));
    Label9 = SquareMark(Frame13, QStringLiteral("Label9"));
    Text1 = ResultBox(Frame13, QStringLiteral("Text1"));
    Label20 = new Label(Frame13, QStringLiteral("Label20"), QString());
    Label4 = new Label(Frame16, QStringLiteral("Label4"), QString());
    Label4->setWordWrap(true);
    Label4->setFont(shell::UiFont(8.25, true));
    for (TextBox* box : {Text2, Text1}) {
        box->setFont(shell::UiFont(9.75, true));
        box->setAlignment(Qt::AlignCenter);
    }

    // The load coefficients, never shown: all 1.
    Frame12 = new Frame(Frame2, QStringLiteral("Frame12"), QStringLiteral("коэфф"));
    txtF = new TextBox(Frame12, QStringLiteral("txtF"));
    txtN = new TextBox(Frame12, QStringLiteral("txtN"));
    Text8 = new TextBox(Frame12, QStringLiteral("Text8"));
    for (TextBox* box : {txtF, txtN, Text8}) box->setText(QStringLiteral("1"));
    new Label(Frame12, QStringLiteral("Label25"), QStringLiteral("cos"));
    new Label(Frame12, QStringLiteral("Label26"), QStringLiteral("φ"));
    new Label(Frame12, QStringLiteral("Label27"), QStringLiteral("η"));
    auto* subscript = new Label(Frame12, QStringLiteral("Label28"), QStringLiteral("н"));
    subscript->setFont(shell::UiFont(6.75));
    new Label(Frame12, QStringLiteral("Label39"), QStringLiteral("k"));

    Text6 = new TextBox(this, QStringLiteral("Text6"));
    Text3 = new TextBox(this, QStringLiteral("Text3"));
    Text3->setText(QStringLiteral("211,2"));
    Text4->setText(QStringLiteral("8,8"));
}

void MainWindow::BuildSecondCalculation() {
    Frame18 = new Frame(this, QStringLiteral("Frame18"), QStringLiteral("Расчет"));
    Frame19 = new Frame(Frame18, QStringLiteral("Frame19"), QStringLiteral("максимально допустимые"));
    new Label(Frame19, QStringLiteral("Label34"), QStringLiteral("МОЩНОСТЬ"));
    Text5 = ResultBox(Frame19, QStringLiteral("Text5"));
    new Label(Frame19, QStringLiteral("Label35"), QStringLiteral("кВт"));
    new Label(Frame19, QStringLiteral("Label36"), QStringLiteral("СИЛА ТОКА"));
    Text7 = ResultBox(Frame19, QStringLiteral("Text7"));
    new Label(Frame19, QStringLiteral("Label37"), QStringLiteral("А"));
    (new Label(Frame18, QStringLiteral("Label38"), QStringLiteral("рекомендуемый ток автомата защиты")))
        ->setWordWrap(true);
    Text9 = ResultBox(Frame18, QStringLiteral("Text9"), &colors::kBlue);
    new Label(Frame18, QStringLiteral("Label40"), QStringLiteral("А"));
    Frame20 = new Frame(Frame18, QStringLiteral("Frame20"), QStringLiteral("рекомендуемое УЗО"));
    new Label(Frame20, QStringLiteral("Label41"), QStringLiteral("номинальный ток"));
    Text10 = ResultBox(Frame20, QStringLiteral("Text10"), &colors::kBlue);
    new Label(Frame20, QStringLiteral("Label42"), QStringLiteral("А"));
    new Label(Frame20, QStringLiteral("Label47"), QStringLiteral("отключающий диф ток"));
    Text11 = ResultBox(Frame20, QStringLiteral("Text11"), &colors::kBlue);
    new Label(Frame20, QStringLiteral("Label49"), QStringLiteral("мА"));
    Command5 = new CommandButton(Frame18, QStringLiteral("Command5"), QStringLiteral("Рассчитать"));
    Command4 = new CommandButton(Frame18, QStringLiteral("Command4"), QStringLiteral("Сброс"));
}

void MainWindow::BuildInformationAndProtection() {
    Frame8 = new Frame(this, QStringLiteral("Frame8"), QStringLiteral("Информация"));
    Image3 = new PictureBox(Frame8, QStringLiteral("Image3"));
    Image3->setPixmap(QPixmap::fromImage(shell::pictures::OrderingPicture()));
    Image4 = new PictureBox(Frame8, QStringLiteral("Image4"));
    Image4->setPixmap(QPixmap::fromImage(shell::pictures::Globe()));
    Label19 = new Label(Frame8, QStringLiteral("Label19"), shell::maker::kSiteHost);
    SetTextColor(Label19, colors::kBlue);

    Frame22 = new Frame(this, QStringLiteral("Frame22"), QStringLiteral("Защита"));
    Label53 = new Label(Frame22, QStringLiteral("Label53"), QStringLiteral("Кратность тока"));
    Label53->setWordWrap(true);
    Label53->setFont(shell::UiFont(7));
    Combo4 = new ComboBox(Frame22, QStringLiteral("Combo4"), false);
    for (const auto multiplicity : MultiplicityList()) Combo4->AddItem(Q(multiplicity));
    Combo4->Write(Q(kDefaultMultiplicity));
    Label51 = new Label(Frame22, QStringLiteral("Label51"), QStringLiteral("Ток при кратности, А:"));
    Label51->setWordWrap(true);
    Label51->setFont(shell::UiFont(7));
    Text14 = ResultBox(Frame22, QStringLiteral("Text14"));
    new Label(Frame22, QStringLiteral("Label50"), QStringLiteral("Автомат защиты, А:"));
    Text13 = ResultBox(Frame22, QStringLiteral("Text13"), &colors::kBlue);
    (new Label(Frame22, QStringLiteral("Label52"),
               QStringLiteral("Выбрано устройство защитного отключения УЗО. Номинальный ток, А :")))
        ->setWordWrap(true);
    Text15 = ResultBox(Frame22, QStringLiteral("Text15"), &colors::kBlue);
    (new Label(Frame22, QStringLiteral("Label54"),
               QStringLiteral("Номинальный отключающий дифференциальный ток, мА: ")))
        ->setWordWrap(true);
    Text16 = ResultBox(Frame22, QStringLiteral("Text16"), &colors::kBlue);
    Command7 = new CommandButton(Frame22, QStringLiteral("Command7"), QStringLiteral("Скрыть"));
}

}  // namespace kelvo::mainwindow
