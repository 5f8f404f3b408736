#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <map>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

#include "core/number_text.h"
#include "core/permissible_current.h"
#include "ui/shell/connectivity.h"
#include "ui/shell/controls.h"
#include "ui/shell/links.h"
#include "ui/shell/maker.h"
#include "ui/shell/message_window.h"
#include "ui/shell/picture_viewer.h"
#include "ui/shell/pictures.h"
#include "ui/shell/program.h"
#include "ui/shell/reference_tables.h"
#include "ui/shell/skin.h"
#include "ui/shell/window_ops.h"

namespace kelvo::shell {
namespace {

void ProcessDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Records what the message window asks of the main window.
class FakeMainWindow : public MainWindowLink {
public:
    QStringList calls;
    void ShowMainWindow() override { calls << QStringLiteral("show"); }
    void HideMainWindow() override { calls << QStringLiteral("hide"); }
    void ClearAfterMessage() override { calls << QStringLiteral("clear"); }
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMainWindowLink(&main_window_);
        SetEndProgramHandler([this] { ++program_ends_; });
        SetUrlOpener([this](const QUrl& url) {
            opened_ << url.toString(QUrl::FullyEncoded);
            return true;
        });
    }
    void TearDown() override {
        ReleaseForm2();
        ReleaseForm3();
        ProcessDeletes();
        SetMainWindowLink(nullptr);
        SetEndProgramHandler({});
        SetUrlOpener({});
    }

    FakeMainWindow main_window_;
    int program_ends_ = 0;
    QStringList opened_;
};

void ExpectFrameLaidOut(const SkinnedWindow& window, int title_picture_top) {
    const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    const QRect close = GeometryTwips(window.Picture1(0));
    const QRect minimise = GeometryTwips(window.Picture1(1));
    const QRect outer = GeometryTwips(window.Shape1(0));
    const QRect inner = GeometryTwips(window.Shape1(1));
    const int w = window.width() * tx, h = window.height() * ty;
    // Right edges: 40 twips in from the window's, 20 twips left of the close button.
    EXPECT_NEAR(w - (close.x() + close.width()), 40, tx);
    EXPECT_NEAR(close.x() - (minimise.x() + minimise.width()), 20, tx);
    EXPECT_NEAR(close.y(), 30, ty);
    EXPECT_NEAR(minimise.y(), 30, ty);
    EXPECT_EQ(outer, QRect(0, 0, w, h));
    EXPECT_EQ(inner, QRect(tx, ty, w - 2 * tx, h - 2 * ty));
    // The strip spans the window and ends where the title picture ends in a window whose picture
    // stands 40 twips down, whatever this window's picture does: never just under the buttons.
    const QRect strip = window.Image1()->geometry();
    EXPECT_EQ(strip.topLeft(), QPoint(0, 0));
    EXPECT_EQ(strip.width(), window.width());
    EXPECT_EQ(strip.height(), TwipsToPixelsY(40) + 24);
    EXPECT_GE(strip.bottom(), window.Picture2()->geometry().bottom());
    EXPECT_NEAR(GeometryTwips(window.Picture2()).x(), 20, tx);
    EXPECT_NEAR(GeometryTwips(window.Picture2()).y(), title_picture_top, ty);
    EXPECT_EQ(window.Shape1(0)->BorderColor(), colors::kBorderOuter);
    EXPECT_EQ(window.Shape1(1)->BorderColor(), colors::kBorderInner);
}

TEST_F(ShellTest, FrameFollowsEveryResize) {
    MessageWindow& form2 = Form2();
    PictureViewer& form3 = Form3();
    form2.show();
    form3.show();
    for (const QSize size : {QSize(300, 120), QSize(718, 127), QSize(1000, 600), QSize(64, 40)}) {
        SCOPED_TRACE(size.width());
        form2.resize(size);
        form3.resize(size);
        ExpectFrameLaidOut(form2, 0);
        ExpectFrameLaidOut(form3, 40);
    }
}

// A drag starts with the left button on the title strip or picture only. The strip's filter sees
// every event of the strip, not only mouse events; a non-mouse event must not be read as one (the
// sanitizer build catches that).
TEST_F(ShellTest, DragStartsOnlyWithTheLeftButtonOnTheTitle) {
    PictureViewer& viewer = Form3();
    viewer.show();
    QSignalSpy drags(&viewer, &SkinnedWindow::dragStarted);
    for (const QEvent::Type type : {QEvent::Enter, QEvent::Leave, QEvent::Show, QEvent::Hide}) {
        QEvent event(type);
        QCoreApplication::sendEvent(viewer.Image1(), &event);
        QCoreApplication::sendEvent(viewer.Picture2(), &event);
    }
    QTest::mousePress(viewer.Image1(), Qt::RightButton, {}, QPoint(5, 5));
    QTest::mousePress(viewer.Image1(), Qt::MiddleButton, {}, QPoint(5, 5));
    QTest::mousePress(viewer.Label4(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(drags.count(), 0);
    for (QWidget* title : {static_cast<QWidget*>(viewer.Image1()), static_cast<QWidget*>(viewer.Picture2())}) {
        QTest::mousePress(title, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(5, 5));
    }
    EXPECT_EQ(drags.count(), 2);
}

TEST_F(ShellTest, ShowTitleBarParksTheCaptionInTag) {
    MessageWindow& window = Form2();
    window.show();
    EXPECT_EQ(window.Caption(), maker::kCaption);
    EXPECT_EQ(window.Tag(), maker::kCaption);
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);

    const QRect geometry = window.geometry();
    ShowTitleBar(window, false);
    EXPECT_EQ(window.Caption(), "");
    EXPECT_EQ(window.Tag(), maker::kCaption);
    ShowTitleBar(window, false);  // parks the already-empty caption
    EXPECT_EQ(window.Tag(), "");
    ShowTitleBar(window, true);  // an empty caption gets a title bar
    EXPECT_EQ(window.Caption(), "");
    EXPECT_FALSE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowTitleHint);
    EXPECT_EQ(window.StyleBits(), 0x00CA0000u);  // caption, system menu, minimise box

    window.SetCaption(maker::kCaption);
    ShowTitleBar(window, false);
    ShowTitleBar(window, true);  // a caption text: no title bar, but the system menu is back
    EXPECT_EQ(window.Caption(), maker::kCaption);
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window.StyleBits(), 0x000A0000u);  // system menu and minimise box, no caption
    EXPECT_EQ(window.geometry(), geometry);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(ShellTest, MessageThatHidTheMainWindowRestoresAndEmptiesIt) {
    ShowMessage(QStringLiteral("Неустановлен ток"), MainWindowWhileShown::Hidden);
    ShowMessage(QStringLiteral("Установите длину в метрах"), MainWindowWhileShown::Hidden);
    MessageWindow& form2 = Form2();
    EXPECT_TRUE(form2.isVisible());
    EXPECT_EQ(form2.Label1()->text(), "Установите длину в метрах");  // the later text wins
    EXPECT_EQ(main_window_.calls, QStringList({"hide", "hide"}));
    QTest::mouseClick(form2.Command2(), Qt::LeftButton);
    EXPECT_FALSE(Form2Exists());
    EXPECT_EQ(main_window_.calls, QStringList({"hide", "hide", "show", "clear"}));
    ProcessDeletes();
    EXPECT_EQ(Form2().Label1()->text(), "");  // a fresh window
}

TEST_F(ShellTest, NoticeThatLeftTheMainWindowVisibleOnlyCloses) {
    ShowMessage(QStringLiteral("Установите сечение"), MainWindowWhileShown::Visible, true);
    EXPECT_TRUE(Form2().Label1()->alignment() & Qt::AlignHCenter);
    QTest::mouseClick(Form2().Command2(), Qt::LeftButton);
    EXPECT_FALSE(Form2Exists());
    EXPECT_TRUE(main_window_.calls.isEmpty());
}

TEST_F(ShellTest, CloseButtons) {
    Form2().show();
    QTest::mouseClick(Form2().Picture1(0), Qt::LeftButton);
    EXPECT_EQ(program_ends_, 1);  // the message window's close ends the program
    OpenPicture(TableRequest(pictures::Reference::Power));
    QTest::mouseClick(Form3().Picture1(0), Qt::LeftButton);
    EXPECT_FALSE(Form3Exists());  // the viewer's close only drops the viewer
    EXPECT_EQ(program_ends_, 1);
}

TEST_F(ShellTest, ViewerShowsTheWholePictureWhateverCameBefore) {
    using pictures::Reference;
    struct Step {
        ViewerRequest request;
        QRect picture_area;  // twips
        QSize viewer;        // twips
        bool site_link, help_links;
    };
    // clang-format off
    const Step steps[] = {
        {TableRequest(Reference::Power), {0, 360, 11685, 6435}, {11745, 7035}, true, false},
        {HelpRequest(), {0, 360, 9105, 6315}, {9105, 6715}, false, true},
        {TableRequest(Reference::WireCurrents), {15, 360, 11700, 6465}, {11775, 7065}, true, false},
        {HelpRequest(), {0, 360, 9105, 6315}, {9105, 6715}, false, true},
        {TableRequest(Reference::Power), {0, 360, 11685, 6435}, {11745, 7035}, true, false},
    };
    // clang-format on
    for (const auto& step : steps) {
        OpenPicture(step.request);
        PictureViewer& viewer = Form3();
        SCOPED_TRACE(static_cast<int>(step.request.picture));
        const QRect area = GeometryTwips(viewer.Image2());
        EXPECT_NEAR(area.x(), step.picture_area.x(), 15);
        EXPECT_EQ(area.y(), step.picture_area.y());
        EXPECT_EQ(area.size(), step.picture_area.size());
        EXPECT_NEAR(viewer.width() * TwipsPerPixelX(), step.viewer.width(), 15);
        EXPECT_NEAR(viewer.height() * TwipsPerPixelY(), step.viewer.height(), 15);
        EXPECT_GE(viewer.width(), viewer.Image2()->geometry().right());
        EXPECT_EQ(viewer.LinkArea(1)->isVisibleTo(&viewer), step.site_link);
        EXPECT_EQ(viewer.LinkArea(2)->isVisibleTo(&viewer), step.help_links);
        EXPECT_EQ(viewer.LinkArea(3)->isVisibleTo(&viewer), step.help_links);
        EXPECT_EQ(viewer.Label4()->text(), step.request.title);
        ExpectFrameLaidOut(viewer, 40);
    }
    ReleaseForm3();
    ProcessDeletes();
    EXPECT_EQ(GeometryTwips(Form3().Image2()), QRect(0, 360, 11685, 6435));  // design size again
}

TEST_F(ShellTest, LinkAreasLieOverTheLinksAndOpenWellFormedUrls) {
    OpenPicture(HelpRequest());
    PictureViewer& viewer = Form3();
    const QPoint origin = viewer.Image2()->pos();
    EXPECT_TRUE(viewer.LinkArea(2)->geometry().intersects(pictures::HelpMailLinkArea().translated(origin)));
    EXPECT_TRUE(viewer.LinkArea(3)->geometry().intersects(pictures::HelpSiteLinkArea().translated(origin)));
    QTest::mouseClick(viewer.LinkArea(2), Qt::LeftButton);
    QTest::mouseClick(viewer.LinkArea(3), Qt::LeftButton);
    OpenPicture(TableRequest(pictures::Reference::Breakers));
    EXPECT_TRUE(
        viewer.LinkArea(1)->geometry().intersects(pictures::TableSiteLinkArea().translated(viewer.Image2()->pos())));
    QTest::mouseClick(viewer.LinkArea(1), Qt::LeftButton);
    EXPECT_EQ(opened_, QStringList({"mailto:support@kelvo.example?Subject=%D0%92%D0%BE%D0%BF%D1%80%D0%BE%D1%81%D1%8B",
                                    "http://kelvo.example/", "http://kelvo.example/"}));
}

// The ready-made pictures are pixel for pixel what the drawing code draws, at both ratios; a
// title other than the one they were made for, or another ratio, is drawn.
TEST(Pictures, ReadyMadePicturesAreTheDrawnOnes) {
    // clang-format off
    const std::map<QString, QImage (*)(qreal)> shown = {
        {QStringLiteral("banner"), [](qreal r) { return pictures::Banner(r); }},
        {QStringLiteral("ordering"), [](qreal r) { return pictures::OrderingPicture(r); }},
        {QStringLiteral("title"), [](qreal r) { return pictures::TitlePicture(pictures::kMainWindowTitle, r); }},
        {QStringLiteral("globe"), [](qreal r) { return pictures::Globe(r); }},
        {QStringLiteral("pointer"), [](qreal r) { return pictures::LinkPointerPicture(r); }},
    };
    // clang-format on
    for (const auto& picture : pictures::kPrebuiltPictures) {
        for (const qreal ratio : {1.0, 2.0}) {
            ASSERT_TRUE(QFile::exists(QStringLiteral(":/prebuilt/%1@%2x.pic").arg(picture.name).arg(ratio)))
                << picture.name.toStdString();
            const QImage loaded = shown.at(picture.name)(ratio);
            const QImage drawn = picture.draw(ratio);
            EXPECT_EQ(loaded.devicePixelRatio(), ratio);
            EXPECT_EQ(loaded.convertToFormat(QImage::Format_ARGB32), drawn.convertToFormat(QImage::Format_ARGB32))
                << picture.name.toStdString() << " at " << ratio;
            // A picture loaded as opaque has no transparent pixel where it was drawn.
            const QImage argb = drawn.convertToFormat(QImage::Format_ARGB32);
            EXPECT_EQ(argb == argb.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32),
                      picture.opaque)
                << picture.name.toStdString();
        }
    }
    for (const int size : pictures::kWindowIconSizes) {
        ASSERT_TRUE(QFile::exists(pictures::PrebuiltIconPath(size))) << size;
        EXPECT_EQ(pictures::AppIcon(size), pictures::DrawAppIcon(size)) << size;
    }
    EXPECT_EQ(pictures::AppIcon(256).size(), QSize(256, 256));  // drawn: no ready-made one
    const QImage other = pictures::TitlePicture(QStringLiteral("Справка"), 1);
    EXPECT_NE(other.convertToFormat(QImage::Format_ARGB32),
              pictures::TitlePicture(pictures::kMainWindowTitle, 1).convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(pictures::Banner(1.5).size(), QSize(1140, 150));
}

TEST(Pictures, ReadyMadeFormRoundTripAndRefusesDamagedData) {
    QImage picture(3, 2, QImage::Format_ARGB32_Premultiplied);
    picture.fill(QColor(10, 20, 30, 128));
    picture.setPixelColor(2, 1, Qt::red);
    const QByteArray data = pictures::EncodePicture(picture);
    EXPECT_EQ(pictures::DecodePicture(data), picture);

    QByteArray wrong_magic = data;
    wrong_magic[0] = 'X';
    QByteArray too_wide = data;
    too_wide[4] = 4;  // 4 × 2 pixels would need more data than there is
    QByteArray huge = data;
    huge[7] = 0x7F;
    for (const QByteArray& damaged :
         {QByteArray(), data.left(10), data.left(data.size() - 1), data + "x", wrong_magic, too_wide, huge})
        EXPECT_TRUE(pictures::DecodePicture(damaged).isNull()) << damaged.size();
}

TEST(Connectivity, DefaultRouteFromTheRoutingTables) {
    const QString header = QStringLiteral("Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n");
    const QString ipv6_default = QStringLiteral(
        "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
        "fe800000000000000000000000000001 00000400 00000001 00000000 00000003     wlan0\n");
    const QString ipv6_loopback_default = QString(ipv6_default).replace(QStringLiteral("wlan0"), QStringLiteral("lo"));
    const QString ipv6_local = QStringLiteral(
        "fe800000000000000000000000000000 40 00000000000000000000000000000000 00 "
        "00000000000000000000000000000000 00000100 00000001 00000000 00000001     eth0\n");
    const struct {
        QString ipv4, ipv6;
        bool connected;
        // clang-format off
    } cases[] = {
        {header + QStringLiteral("eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0   \n"), {}, true},
        {header + QStringLiteral("eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"), ipv6_local, false},
        {header + QStringLiteral("lo\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n"), {}, false},
        {header, ipv6_default, true},
        {header, ipv6_loopback_default, false},
        {QStringLiteral("eth0\t00000000\t010200C0\t0003\n"), {}, false},  // the first line is the header
        {{}, {}, false},  // tables that cannot be read
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(shell::HasDefaultRoute(c.ipv4, c.ipv6), c.connected) << c.ipv4.toStdString();
}

// A caption fitted with one measurement takes the size the toolkit's own size hint gives it,
// whatever its text, font, alignment, frame, margin, indent or wrapping.
TEST(Controls, CaptionFitsAsTheSizeHintWould) {
    struct Case {
        QString text;
        QFont font;
        Qt::Alignment align;
        bool framed;
        int margin;
        int indent;
        bool wrapped = false;
    };
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    // clang-format off
    const std::vector<Case> cases = {
        {QStringLiteral("сечение мм "), UiFont(), left, false, 0, -1},
        {QStringLiteral("кВт"), UiFont(6.75), Qt::AlignCenter, false, 0, -1},
        {QStringLiteral("Расчеты"), UiFont(), Qt::AlignCenter, true, 0, -1},
        {QStringLiteral("Таблицы "), UiFont(9.75, true), Qt::AlignRight | Qt::AlignBottom, true, 2, -1},
        {QStringLiteral("первая строка\nвторая, длиннее"), UiFont(8, true), Qt::AlignHCenter | Qt::AlignTop, false, 0, -1},
        {QStringLiteral("отступ"), UiFont(7), Qt::AlignLeft | Qt::AlignTop, false, 1, 6},
        {QString(), UiFont(), left, false, 0, -1},
        {QStringLiteral("перенос по словам в длинной подписи"), UiFont(), left, false, 0, -1, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        Label label(nullptr, QStringLiteral("caption"), c.text);
        label.setFont(c.font);
        label.setAlignment(c.align);
        if (c.framed) label.SetBorderStyle(1);
        label.setMargin(c.margin);
        label.setIndent(c.indent);
        label.setWordWrap(c.wrapped);
        label.resize(5, 5);
        label.FitToCaption();
        EXPECT_EQ(label.size(), label.sizeHint()) << c.text.toStdString();
    }
}

// A frame's etched border lies where a one-pixel pen would draw its two outlines, at any size.
TEST(Controls, FrameBorderIsTheOutlineAPenWouldDraw) {
    for (const QSize size : {QSize(40, 30), QSize(137, 55), QSize(8, 20)}) {
        Frame frame(nullptr, QStringLiteral("frame"), QString());
        frame.setFont(UiFont());
        frame.resize(size);
        SetBackground(&frame, colors::kBackground);
        const QImage shown = frame.grab().toImage().convertToFormat(QImage::Format_RGB32);

        QImage expected(size, QImage::Format_RGB32);
        expected.fill(colors::kBackground);
        QPainter p(&expected);
        const int top = QFontMetrics(frame.font()).height() / 2;
        p.setPen(QColor(160, 140, 96));
        p.drawRect(QRect(0, top, size.width() - 2, size.height() - top - 2));
        p.setPen(QColor(255, 250, 235));
        p.drawRect(QRect(1, top + 1, size.width() - 2, size.height() - top - 2));
        p.end();
        EXPECT_EQ(shown, expected) << size.width() << "x" << size.height();
    }
}

TEST(Links, OnlyWellFormedUrlsAreHandedOver) {
    EXPECT_FALSE(UrlFromSiteText(QStringLiteral("")).isValid());
    EXPECT_FALSE(UrlFromSiteText(QStringLiteral("http://exa mple")).isValid());
    EXPECT_FALSE(OpenUrl(QUrl()));
}

// Every current in the wire table of the reference pictures is the limit of its section in the
// permissible-current tables: the section carries it, and a hundredth more needs a larger one.
// Every header of the three reference tables shows whole in its cell, at the ratios 1 and 2.
TEST(ReferenceTables, EveryHeaderShowsWhole) {
    const std::pair<ReferenceTable, int> tables[] = {
        {PowerTable(), 779}, {BreakerTable(), 780}, {WireCurrentTable(), 780}};
    for (const qreal ratio : {1.0, 2.0}) {
        QImage device(100, 100, QImage::Format_ARGB32_Premultiplied);
        device.setDevicePixelRatio(ratio);
        for (const auto& [table, width] : tables) {
            const auto places = pictures::HeaderPlaces(table, width, &device);
            ASSERT_EQ(places.size(), table.header.size());
            for (std::size_t i = 0; i < places.size(); ++i)
                EXPECT_TRUE(pictures::HeaderFits(places[i], table.header[i].text, &device))
                    << table.header[i].text.toStdString() << " at ratio " << ratio;
        }
    }
}

TEST(ReferenceTables, WireCurrentPictureAgreesWithThePermissibleCurrents) {
    const ReferenceTable table = WireCurrentTable();
    using L = LayingMethod;
    constexpr auto Cu = Material::Copper;
    constexpr auto Al = Material::Aluminium;
    const std::pair<Material, LayingMethod> columns[] = {{Cu, L::p1}, {Al, L::p1}, {Cu, L::p2}, {Cu, L::p3},
                                                         {Cu, L::p4}, {Cu, L::p5}, {Cu, L::p6}, {Al, L::p2},
                                                         {Al, L::p3}, {Al, L::p4}, {Al, L::p5}, {Al, L::p6}};
    ASSERT_EQ(table.rows.size(), 18u);
    int currents = 0;
    for (const auto& row : table.rows) {
        ASSERT_EQ(row.size(), 13);
        const std::string section = row[0].toStdString();
        for (int c = 0; c < 12; ++c) {
            const auto [material, laying] = columns[c];
            const ConductorChoice choice{material, KindOf(laying), laying};
            const std::string cell = row[c + 1].toStdString();
            SCOPED_TRACE(section + " column " + std::to_string(c));
            if (cell == "-") {
                bool has_row = false;
                for (const auto& r : PermissibleCurrentTable(material, laying).rows())
                    has_row = has_row || r.result.text == section;
                EXPECT_FALSE(has_row);
                continue;
            }
            ++currents;
            EXPECT_EQ(SelectSectionByCurrent(cell, choice), section);
            EXPECT_NE(SelectSectionByCurrent(WriteNumber(*ReadNumber(cell) + 0.01), choice), section);
        }
    }
    EXPECT_EQ(currents, 156);
    // The one-three-core copper column in a pipe, 1 to 150 mm².
    QStringList column;
    for (std::size_t r = 2; r < 16; ++r) column << table.rows[r][7];
    EXPECT_EQ(column.join(' '), "14 15 21 27 34 50 70 85 100 135 175 215 250 -");
}

}  // namespace
}  // namespace kelvo::shell
